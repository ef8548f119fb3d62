#include "solve/node_renumbering.h"

#include <algorithm>
#include <limits>

#include "elements/active_set.h"
#include "input/element_sets.h"
#include "input/problem.h"
#include "run/errstp.h"
#include "run/work_array.h"
#include "solve/element_loop.h"
#include "solve/equation_numbering.h"
#include "solve/skyline_profile.h"
#include "solve/solution_record.h"
#include "solve/supports.h"

namespace vortan {

namespace {

std::int32_t* scratch_ints(std::int64_t count) {
  return WORK.ints(DIREC1(RUN.NXTPOS, RUN.MEMORY, count, "IWORK", INT_WORDS));
}

// Nodes of an element row of a set that carry its degrees of freedom (a beam member's
// third node only orients it).
int linked_nodes(const ElementSet& set) {
  return set.NDOFN > 0 ? std::min<int>(set.NNODE, set.NEVAB() / set.NDOFN) : set.NNODE;
}

// Calls visit(a, b) for every ordered pair of distinct nodes joined by an element or a link.
template <class Visit>
void for_each_joined_pair(Visit visit) {
  for (int s = 1; s <= PROBLEM.NSETS; ++s) {
    const ElementSet& set = SETS(s);
    const int n = linked_nodes(set);
    for (int e = 1; e <= set.NELEM; ++e)
      for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
          if (i != j) visit(element_node(s, e, i), element_node(s, e, j));
  }
  for (std::int32_t l = 0; l < PROBLEM.MGDLL; ++l) {
    const std::int32_t* link = WORK.ints(PROBLEM.NGDLL + 3 * l);
    visit(link[0], link[1]);
    visit(link[1], link[0]);
  }
}

// Sorts every node's neighbours and removes repeats and the node itself.
void compact_neighbours(NodeGraph& g) {
  std::int32_t write = 0;
  std::int32_t begin = 0;
  for (std::int32_t v = 1; v <= g.nodes; ++v) {
    const std::int32_t end = g.first[v];
    std::int32_t* list = g.adjacency + begin;
    std::sort(list, g.adjacency + end);
    const std::int32_t start = write;
    for (std::int32_t k = begin; k < end; ++k) {
      const std::int32_t w = g.adjacency[k];
      if (w == v || (write > start && g.adjacency[write - 1] == w)) continue;
      g.adjacency[write++] = w;
    }
    g.first[v - 1] = start;
    begin = end;
  }
  g.first[g.nodes] = write;
}

// A breadth-first level structure rooted at a node, over the nodes not yet ordered.
struct Levels {
  std::int32_t* nodes;       // in level order
  std::int32_t count = 0;
  std::int32_t last_level = 0;  // index in nodes of the first node of the deepest level
  std::int32_t depth = 0;
};

class Bfs {
 public:
  Bfs(const NodeGraph& g, std::int32_t* stamps) : g_(g), stamps_(stamps) {}
  // Fills levels from root; distance (when not null) receives each node's level.
  void run(std::int32_t root, Levels& levels, std::int32_t* distance = nullptr) {
    ++stamp_;
    std::int32_t head = 0, tail = 0, level_end = 1;
    levels.nodes[tail++] = root;
    stamps_[root - 1] = stamp_;
    levels.depth = 0;
    levels.last_level = 0;
    while (head < tail) {
      if (head == level_end) {
        ++levels.depth;
        levels.last_level = head;
        level_end = tail;
      }
      const std::int32_t v = levels.nodes[head++];
      if (distance != nullptr) distance[v - 1] = levels.depth;
      for (std::int32_t k = g_.first[v - 1]; k < g_.first[v]; ++k) {
        const std::int32_t w = g_.adjacency[k];
        if (stamps_[w - 1] == stamp_) continue;
        stamps_[w - 1] = stamp_;
        levels.nodes[tail++] = w;
      }
    }
    levels.count = tail;
  }

 private:
  const NodeGraph& g_;
  std::int32_t* stamps_;
  std::int32_t stamp_ = 0;
};

struct Ends {
  std::int32_t start, end;
};

std::int32_t least_degree_of_last_level(const NodeGraph& g, const Levels& levels) {
  std::int32_t best = levels.nodes[levels.last_level];
  for (std::int32_t k = levels.last_level + 1; k < levels.count; ++k)
    if (g.degree(levels.nodes[k]) < g.degree(best)) best = levels.nodes[k];
  return best;
}

// The `rank`-th node (counting from 0, wrapping round) among the nodes of least
// degree of the deepest level.
std::int32_t ranked_end(const NodeGraph& g, const Levels& levels, int rank) {
  const std::int32_t least = g.degree(least_degree_of_last_level(g, levels));
  int count = 0;
  for (std::int32_t k = levels.last_level; k < levels.count; ++k) count += g.degree(levels.nodes[k]) == least;
  int wanted = rank % count;
  for (std::int32_t k = levels.last_level; k < levels.count; ++k)
    if (g.degree(levels.nodes[k]) == least && wanted-- == 0) return levels.nodes[k];
  return levels.nodes[levels.last_level];
}

// Pseudo-peripheral pair of the part that holds `seed`: from the root, the deepest
// level's node of least degree becomes the root while the depth grows. The end is
// the `end_rank`-th node of least degree of the final root's deepest level (several
// such nodes lie equally far, and the order that follows depends on which is taken).
Ends pseudo_peripheral_pair(const NodeGraph& g, Bfs& bfs, std::int32_t seed, Levels& a, Levels& b,
                            int end_rank = 0) {
  std::int32_t root = seed;
  bfs.run(root, a);
  for (;;) {
    const std::int32_t candidate = least_degree_of_last_level(g, a);
    bfs.run(candidate, b);
    if (b.depth <= a.depth) return {root, end_rank == 0 ? candidate : ranked_end(g, a, end_rank)};
    root = candidate;
    std::swap(a.nodes, b.nodes);
    std::swap(a.count, b.count);
    std::swap(a.last_level, b.last_level);
    std::swap(a.depth, b.depth);
  }
}

// Scratch of one ordering.
struct OrderScratch {
  std::int32_t* placed;  // 1 when the node has its place
  std::int32_t* stamps;
  Levels a, b;
};

OrderScratch order_scratch(std::int32_t nodes) {
  OrderScratch s;
  s.placed = scratch_ints(nodes);
  s.stamps = scratch_ints(nodes);
  s.a.nodes = scratch_ints(nodes);
  s.b.nodes = scratch_ints(nodes);
  ZEROI(nodes, s.placed);
  ZEROI(nodes, s.stamps);
  return s;
}

// Cuthill-McKee order of one part from its start node into order[from ..]; returns the end.
std::int32_t cuthill_mckee_part(const NodeGraph& g, std::int32_t start, std::int32_t* placed, std::int32_t* order,
                                std::int32_t from) {
  std::int32_t head = from, tail = from;
  order[tail++] = start;
  placed[start - 1] = 1;
  while (head < tail) {
    const std::int32_t v = order[head++];
    const std::int32_t first_new = tail;
    for (std::int32_t k = g.first[v - 1]; k < g.first[v]; ++k) {
      const std::int32_t w = g.adjacency[k];
      if (placed[w - 1] != 0) continue;
      placed[w - 1] = 1;
      order[tail++] = w;
    }
    // Neighbours of increasing degree (a short list: insertion sort).
    for (std::int32_t i = first_new + 1; i < tail; ++i) {
      const std::int32_t w = order[i];
      std::int32_t j = i;
      for (; j > first_new && g.degree(order[j - 1]) > g.degree(w); --j) order[j] = order[j - 1];
      order[j] = w;
    }
  }
  return tail;
}

// Max-priority queue of nodes with priorities that only grow.
class PriorityQueue {
 public:
  PriorityQueue(std::int32_t* heap, std::int32_t* where, const std::int32_t* priority)
      : heap_(heap), where_(where), priority_(priority) {}
  bool empty() const { return size_ == 0; }
  bool holds(std::int32_t node) const { return where_[node - 1] >= 0; }
  void insert(std::int32_t node) {
    heap_[size_] = node;
    where_[node - 1] = size_;
    rise(size_++);
  }
  void raised(std::int32_t node) { rise(where_[node - 1]); }
  std::int32_t pop() {
    const std::int32_t top = heap_[0];
    where_[top - 1] = -1;
    if (--size_ > 0) {
      heap_[0] = heap_[size_];
      where_[heap_[0] - 1] = 0;
      sink(0);
    }
    return top;
  }

 private:
  bool above(std::int32_t a, std::int32_t b) const {
    const std::int32_t pa = priority_[a - 1], pb = priority_[b - 1];
    return pa > pb || (pa == pb && a < b);
  }
  void place(std::int32_t i, std::int32_t node) {
    heap_[i] = node;
    where_[node - 1] = i;
  }
  void rise(std::int32_t i) {
    const std::int32_t node = heap_[i];
    while (i > 0 && above(node, heap_[(i - 1) / 2])) {
      place(i, heap_[(i - 1) / 2]);
      i = (i - 1) / 2;
    }
    place(i, node);
  }
  void sink(std::int32_t i) {
    const std::int32_t node = heap_[i];
    for (;;) {
      std::int32_t child = 2 * i + 1;
      if (child >= size_) break;
      if (child + 1 < size_ && above(heap_[child + 1], heap_[child])) ++child;
      if (!above(heap_[child], node)) break;
      place(i, heap_[child]);
      i = child;
    }
    place(i, node);
  }
  std::int32_t* heap_;
  std::int32_t* where_;
  const std::int32_t* priority_;
  std::int32_t size_ = 0;
};

// Sloan orders tried, each towards another far end of the parts.
constexpr int SLOAN_END_CHOICES = 3;

enum Status : std::int32_t { INACTIVE = 0, PREACTIVE = 1, ACTIVE_NODE = 2, POSTACTIVE = 3 };
constexpr std::int32_t DISTANCE_WEIGHT = 1;
constexpr std::int32_t DEGREE_WEIGHT = 2;

struct SloanState {
  const NodeGraph& g;
  std::int32_t* status;
  std::int32_t* priority;
  PriorityQueue& queue;
  void raise(std::int32_t node) {
    priority[node - 1] += DEGREE_WEIGHT;
    if (queue.holds(node)) queue.raised(node);
  }
  void activate_neighbours_of(std::int32_t j) {
    for (std::int32_t k = g.first[j - 1]; k < g.first[j]; ++k) {
      const std::int32_t w = g.adjacency[k];
      if (status[w - 1] == POSTACTIVE) continue;
      raise(w);
      if (status[w - 1] == INACTIVE) {
        status[w - 1] = PREACTIVE;
        queue.insert(w);
      }
    }
  }
  void number(std::int32_t i) {
    if (status[i - 1] == PREACTIVE) activate_neighbours_of(i);
    status[i - 1] = POSTACTIVE;
    for (std::int32_t k = g.first[i - 1]; k < g.first[i]; ++k) {
      const std::int32_t j = g.adjacency[k];
      if (status[j - 1] != PREACTIVE) continue;
      status[j - 1] = ACTIVE_NODE;
      raise(j);
      activate_neighbours_of(j);
    }
  }
};

void sloan_part(SloanState& state, const Levels& part, Ends ends, const std::int32_t* distance,
                std::int32_t* order, std::int32_t& next) {
  for (std::int32_t k = 0; k < part.count; ++k) {
    const std::int32_t v = part.nodes[k];
    state.priority[v - 1] = DISTANCE_WEIGHT * distance[v - 1] - DEGREE_WEIGHT * (state.g.degree(v) + 1);
    state.status[v - 1] = INACTIVE;
  }
  state.status[ends.start - 1] = PREACTIVE;
  state.queue.insert(ends.start);
  while (!state.queue.empty()) {
    const std::int32_t i = state.queue.pop();
    order[next++] = i;
    state.number(i);
  }
}

// Profile length of the LDLT equations numbered in a node order.
std::int64_t profile_of(const std::int32_t* order, std::int32_t* heights) {
  std::int32_t* leqns = WORK.ints(SOLUTION.LEQNS);
  std::int32_t prescribed = 0;
  const std::int32_t neqns = number_equations_by_nodes(order, leqns, prescribed);
  return ldlt_column_heights(leqns, neqns, heights);
}

}  // namespace

NodeGraph build_node_graph() {
  NodeGraph g;
  g.nodes = PROBLEM.NPNODS;
  g.first = scratch_ints(std::int64_t{g.nodes} + 1);
  ZEROI(std::int64_t{g.nodes} + 1, g.first);
  std::int64_t total = 0;
  for_each_joined_pair([&](std::int32_t a, std::int32_t) {
    ++g.first[a];
    ++total;
  });
  if (total > std::numeric_limits<std::int32_t>::max() / 2) ERRSTP("RENUM0:NEED MORE WORKING SPACE");
  for (std::int32_t v = 1; v <= g.nodes; ++v) g.first[v] += g.first[v - 1];
  g.adjacency = scratch_ints(total);
  // first[v] is now the end of node v's range; filling each range from its end leaves
  // first[v] at the range's start, which is where first[v - 1] belongs.
  for_each_joined_pair([&](std::int32_t a, std::int32_t b) { g.adjacency[--g.first[a]] = b; });
  for (std::int32_t k = 0; k < g.nodes; ++k) g.first[k] = g.first[k + 1];
  g.first[g.nodes] = static_cast<std::int32_t>(total);
  compact_neighbours(g);
  return g;
}

void reverse_cuthill_mckee(const NodeGraph& g, std::int32_t* order) {
  const std::int32_t mark = RUN.NXTPOS;
  OrderScratch s = order_scratch(g.nodes);
  Bfs bfs(g, s.stamps);
  std::int32_t next = 0;
  for (std::int32_t seed = 1; seed <= g.nodes; ++seed) {
    if (s.placed[seed - 1] != 0) continue;
    const Ends ends = pseudo_peripheral_pair(g, bfs, seed, s.a, s.b);
    const std::int32_t end = cuthill_mckee_part(g, ends.start, s.placed, order, next);
    std::reverse(order + next, order + end);
    next = end;
  }
  RUN.NXTPOS = mark;
}

void sloan_order(const NodeGraph& g, std::int32_t* order, int end_rank) {
  const std::int32_t mark = RUN.NXTPOS;
  OrderScratch s = order_scratch(g.nodes);
  std::int32_t* distance = scratch_ints(g.nodes);
  std::int32_t* status = scratch_ints(g.nodes);
  std::int32_t* priority = scratch_ints(g.nodes);
  std::int32_t* heap = scratch_ints(g.nodes);
  std::int32_t* where = scratch_ints(g.nodes);
  std::fill(where, where + g.nodes, -1);
  ZEROI(g.nodes, status);
  PriorityQueue queue(heap, where, priority);
  SloanState state{g, status, priority, queue};
  Bfs bfs(g, s.stamps);
  std::int32_t next = 0;
  for (std::int32_t seed = 1; seed <= g.nodes; ++seed) {
    if (status[seed - 1] == POSTACTIVE) continue;
    const Ends ends = pseudo_peripheral_pair(g, bfs, seed, s.a, s.b, end_rank);
    bfs.run(ends.end, s.b, distance);  // the part's nodes with their distance to the far end
    sloan_part(state, s.b, ends, distance, order, next);
  }
  RUN.NXTPOS = mark;
}

void RENUM0(std::int32_t* order) {
  const std::int32_t mark = RUN.NXTPOS;
  const std::int32_t nodes = PROBLEM.NPNODS;
  std::int32_t* heights = scratch_ints(PROBLEM.NTOTV);
  std::int32_t* candidate = scratch_ints(nodes);
  for (std::int32_t k = 0; k < nodes; ++k) order[k] = k + 1;
  SOLUTION.profile_natural = profile_of(order, heights);
  SOLUTION.order_used = NodeOrder::natural;
  std::int64_t best = SOLUTION.profile_natural;
  const NodeGraph graph = build_node_graph();
  auto consider = [&](NodeOrder kind, std::int64_t& length) {
    length = profile_of(candidate, heights);
    if (length >= best) return;
    best = length;
    SOLUTION.order_used = kind;
    std::copy(candidate, candidate + nodes, order);
  };
  reverse_cuthill_mckee(graph, candidate);
  consider(NodeOrder::reverse_cuthill_mckee, SOLUTION.profile_rcm);
  for (int rank = 0; rank < SLOAN_END_CHOICES; ++rank) {
    std::int64_t length = 0;
    sloan_order(graph, candidate, rank);
    consider(NodeOrder::sloan, length);
    if (rank == 0 || length < SOLUTION.profile_sloan) SOLUTION.profile_sloan = length;
  }
  RUN.NXTPOS = mark;
}

}  // namespace vortan

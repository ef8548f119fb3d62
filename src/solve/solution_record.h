// The state of the static solution paths: the work-array positions of the global
// vectors (loads ASLOD, displacements DESPL, reactions REACT), the equation numbering
// and profile of the LDLT path, the vectors and matrices of the iterative paths with
// the outcome of their iteration, and the penalty of the linked degrees of freedom.
//
// SOLUCION fills it; the result loops (stresses, internal forces, post-processing) read
// DESPL and REACT from here. Every vector is NTOTV long and indexed by global position
// (the offset of word 2 of ADRES plus the local degree of freedom).
#pragma once

#include <cstdint>

namespace vortan {

// Node orders the LDLT path can number its equations in.
enum class NodeOrder {
  natural = 0,           // node-number order
  reverse_cuthill_mckee = 1,
  sloan = 2,
};

struct SolutionRecord {
  // Global vectors, NTOTV reals each (0 until the first solution).
  std::int32_t ASLOD = 0;   // assembled loads
  std::int32_t DESPL = 0;   // displacements (temperatures in heat conduction)
  std::int32_t REACT = 0;   // reactions at the prescribed positions
  std::int32_t TREAC = 0;   // Gauss path: one node's reactions while its line is printed

  // Gauss path: the full matrix, NTOTV x NTOTV column by column.
  std::int32_t ASTIF = 0;

  // LDLT path.
  std::int32_t LNUEQ = 0;   // node order of the equation numbering (NPNODS node numbers)
  std::int32_t LEQNS = 0;   // equation of each global position: > 0 free, < 0 prescribed
  std::int32_t LPONT = 0;   // column pointers, NEQNS + 1 entries from LPONT(0) = 0
  std::int32_t RWORK = 0;   // right-hand side and solution in equation order
  std::int32_t AMATR = 0;   // NEQNS diagonal entries, then the columns above the diagonal
  std::int32_t NEQNS = 0;   // free equations
  std::int32_t NPRES = 0;   // prescribed positions (numbered -1 .. -NPRES)
  std::int64_t profile_length = 0;  // entries above the diagonal
  std::int32_t largest_height = 0;  // largest column height
  std::int32_t lost_digits = 0;     // equations that lost at least 7 digits in SKYTRI

  // Node renumbering of the LDLT path: on by default. The profile lengths of the node
  // orders that were compared and the order that was kept are recorded.
  int renumbering = 1;
  NodeOrder order_used = NodeOrder::natural;
  std::int64_t profile_natural = 0;
  std::int64_t profile_rcm = 0;
  std::int64_t profile_sloan = 0;

  // Iterative paths: vectors of the conjugate gradient and GMRES (NTOTV reals in the
  // element-by-element path, NEQNS in the compressed-row path).
  std::int32_t VECTP = 0;   // search direction
  std::int32_t VECTU = 0;   // residual of the free equations
  std::int32_t VECT1 = 0;   // matrix times the search direction
  std::int32_t DIAGO = 0;   // diagonal of the matrix, then its inverse (the preconditioner)
  std::int32_t ZVECT = 0;   // preconditioned residual
  std::int32_t VECTX = 0;   // compressed-row path: the iterate in equation order
  std::int32_t VECTB = 0;   // GMRES: the right-hand side, kept for the restarts
  std::int32_t DESPA = 0;   // damped iteration: the previous iterate
  // Damped iteration, when its history is kept: the squared residual norm and the
  // energy of every cycle, two reals per cycle (damped_iteration.h).
  std::int32_t HISTO = 0;

  // Compressed-row path: the free-free part of the matrix by rows in equation order
  // (LEQNS: equation of each global position, 0 where prescribed), every row's
  // columns sorted; the incomplete factors share the pattern.
  std::int32_t IA = 0;      // NEQNS + 1 row starts (0-based)
  std::int32_t JA = 0;      // column (0-based equation) of every entry
  std::int32_t STIFF = 0;   // value of every entry
  std::int32_t FACIN = 0;   // incomplete factors L (unit, below) and U (diagonal and above)
  std::int32_t IDIAG = 0;   // position of every row's diagonal entry (incomplete factors)
  std::int32_t GMRVB = 0;   // GMRES: the Krylov basis, (restart + 1) x NEQNS
  std::int64_t entries = 0; // entries of the compressed rows
  double shift = 0.0;       // diagonal shift the incomplete factorisation needed (0 when none)

  // Outcome of the last iterative solution.
  std::int32_t iterations = 0;   // cycles (GMRES: inner steps)
  double residual = 0.0;         // final squared residual norm of the free equations
  bool converged = false;        // damped iteration: the tolerance was reached
  double energy = 0.0;           // damped iteration: 1/2 u.K u - f.u of the final iterate
  double products = 0.0;         // matrix-vector products formed
  double setup_seconds = 0.0;    // structure, assembly and preconditioner
  double iteration_seconds = 0.0;
  double product_seconds = 0.0;  // within the iteration: the matrix-vector products

  // Penalty of the linked degrees of freedom of the last assembly (0 when none).
  double penalty = 0.0;

  // Wall-clock seconds of the last LDLT solution's phases (for the benchmarks).
  double renumbering_seconds = 0.0;
  double assembly_seconds = 0.0;
  double factor_seconds = 0.0;

  int solutions = 0;  // calls of SOLUCION in this run

  void reset() { *this = SolutionRecord{}; }
};
extern SolutionRecord SOLUTION;

}  // namespace vortan

// The four methods of the eigenvalue analysis for K phi = lambda M phi, with K in the
// profile storage of the eigenvalue analysis (STIFF with MAXAD) and M diagonal, both
// in equation order. The driver chooses the method, its limits and its printing; a
// method allocates its own work arrays by name, writes its own listing lines and
// leaves the modes it found, mass-normalised (phi^T M phi = 1), in the work array.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "run/work_array.h"

namespace vortan {

// The convergence tolerance the methods share: the single-precision constant 1.0E-10.
inline constexpr double EIGEN_TOLERANCE = static_cast<double>(1.0e-10f);

struct EigenProblem {
  double* stiff = nullptr;             // K; the methods that factorise overwrite it
  const std::int32_t* maxad = nullptr;  // diagonal addresses, neqns + 1 entries
  std::int32_t neqns = 0;
  std::int64_t nwktl = 0;              // profile length (STIFF holds nwktl + 1 reals)
  const double* mass = nullptr;        // diagonal mass of every equation
  std::int32_t modes = 0;              // eigenpairs wanted
  double tolerance = EIGEN_TOLERANCE;  // relative change that ends an iteration
  int iteration_limit = 0;             // vector (power, subspace) iterations per mode
  int polynomial_limit = 0;            // determinant search: shifts per mode
  bool print = false;                  // the method's own lines in the listing
};

// The modes a method found: eigenvalue and mass-normalised vector of each, in
// ascending order of eigenvalue (method 3: the highest mode only).
struct EigenModes {
  std::int32_t count = 0;
  std::vector<double> eigenvalues;
  std::vector<std::int32_t> numbers;  // the mode number of each (its rank from the lowest)
  std::int32_t vectors = 0;           // work-array position of the first mode's vector
  std::int64_t stride = 0;            // reals from one mode's vector to the next
  double* vector(int mode) const {
    return WORK.reals(vectors) + static_cast<std::int64_t>(mode - 1) * stride;
  }
};

// Method 1: inverse iteration on the factorised K, one mode after the other, each
// iterate kept mass-orthogonal to the modes already converged.
EigenModes inverse_iteration(const EigenProblem& problem);

// Method 2: determinant search. For each mode a secant iteration on the deflated
// determinant of K - mu M, kept inside the bracket that the Sturm counts of the
// shifted factorisations give, finds a shift just below the eigenvalue; shifted
// inverse iteration with deflation then gives the eigenpair.
EigenModes determinant_search(const EigenProblem& problem);

// y = K x for vectors in equation order, formed without the assembled matrix.
using StiffnessProduct = std::function<void(const double* x, double* y)>;

// Method 3: power (von Mises) iteration for the highest eigenvalue, with the product
// by K formed element by element.
EigenModes highest_mode(const EigenProblem& problem, const StiffnessProduct& product);

// The power iteration itself, for every caller that needs the highest eigenvalue: v,
// g, x and b are work vectors of n reals; on return x holds the iterate (not
// normalised). Stops when a free degree of freedom has no mass or when the limit of
// iterations is reached without convergence.
struct PowerIteration {
  double eigenvalue = 0.0;
  int iterations = 0;
};
PowerIteration von_mises_iteration(std::int32_t n, const double* mass, const StiffnessProduct& product,
                                   double tolerance, int limit, double* v, double* g, double* x, double* b);

// Method 4: subspace iteration with q = min(2p, p + 8) vectors (at most the number of
// mass degrees of freedom), a Sturm-sequence check after convergence.
EigenModes subspace_iteration(const EigenProblem& problem);

}  // namespace vortan

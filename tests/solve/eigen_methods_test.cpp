// The eigenvalue methods on profile matrices built directly: lumped spring-mass
// chains whose eigenvalues are known in closed form, a chain symmetric about its
// middle, two identical chains (every eigenvalue twice), and the limits and stops of
// each method.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "../test_support.h"
#include "analyses/inpdat.h"
#include "run/file_set.h"
#include "run/work_array.h"
#include "solve/eigen/eigen_methods.h"
#include "solve/eigen/eigen_support.h"
#include "solve/eigen/generalized_jacobi.h"
#include "solve/profile_factor.h"

namespace vortan {
namespace {

constexpr double PI = 3.141592653589793;

// A tridiagonal spring chain (springs of stiffness 1 between consecutive masses) in
// the profile storage of the eigenvalue analysis, with its diagonal mass, or several
// such chains side by side, uncoupled.
struct Chain {
  int n = 0;
  std::vector<double> diagonal, off;  // off[i] couples i - 1 and i (off[0] unused)
  std::vector<double> mass;

  // Fixed at its first end (a spring to the ground), free at the other, n unit masses
  // with half a mass at the free end: the lumped axial bar of n two-node elements.
  // lambda_j = 4 sin^2((2j - 1) pi / 4n).
  static Chain fixed_free(int n) {
    Chain c;
    c.n = n;
    c.diagonal.assign(n, 2.0);
    c.diagonal[n - 1] = 1.0;
    c.off.assign(n, -1.0);
    c.mass.assign(n, 1.0);
    c.mass[n - 1] = 0.5;
    return c;
  }
  static double fixed_free_eigenvalue(int n, int j) {
    const double s = std::sin((2 * j - 1) * PI / (4.0 * n));
    return 4.0 * s * s;
  }
  // Fixed at both ends, unit masses: symmetric about the middle, its even modes
  // antisymmetric. lambda_j = 4 sin^2(j pi / 2(n + 1)).
  static Chain fixed_fixed(int n) {
    Chain c;
    c.n = n;
    c.diagonal.assign(n, 2.0);
    c.off.assign(n, -1.0);
    c.mass.assign(n, 1.0);
    return c;
  }
  static double fixed_fixed_eigenvalue(int n, int j) {
    const double s = std::sin(j * PI / (2.0 * (n + 1)));
    return 4.0 * s * s;
  }
  // Two copies of a chain, uncoupled.
  Chain twice() const {
    Chain c = *this;
    c.n = 2 * n;
    c.diagonal.insert(c.diagonal.end(), diagonal.begin(), diagonal.end());
    c.off.insert(c.off.end(), off.begin(), off.end());
    c.off[n] = 0.0;
    c.mass.insert(c.mass.end(), mass.begin(), mass.end());
    return c;
  }

  // STIFF with MAXAD: column i holds its diagonal and, above it, the coupling to i - 1.
  void profile(std::vector<double>& stiff, std::vector<std::int32_t>& maxad) const {
    maxad.assign(n + 1, 1);
    stiff.clear();
    for (int i = 0; i < n; ++i) {
      stiff.push_back(diagonal[i]);
      if (i > 0) stiff.push_back(off[i]);
      maxad[i + 1] = static_cast<std::int32_t>(stiff.size()) + 1;
    }
    stiff.push_back(0.0);  // STIFF holds NWKTL + 1 reals
  }
  // y = K x.
  void multiply(const double* x, double* y) const {
    for (int i = 0; i < n; ++i) {
      y[i] = diagonal[i] * x[i];
      if (i > 0) y[i] += off[i] * x[i - 1];
      if (i + 1 < n) y[i] += off[i + 1] * x[i + 1];
    }
  }
};

class EigenMethods : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ensure_work_array();
    test::write_file(dir.file("E.vtn"), "VORTAN\n");
    test::open_deck(dir.file("E.vtn"));
  }
  void TearDown() override { reset_run_state(); }
  std::string listing() {
    flush_units();
    return test::read_file(dir.file("E.sal"));
  }

  // A problem for the chain; the profile is copied afresh, since methods factorise it.
  EigenProblem problem(const Chain& c, int modes, int limit = 1000) {
    c.profile(stiff, maxad);
    EigenProblem p;
    p.stiff = stiff.data();
    p.maxad = maxad.data();
    p.neqns = c.n;
    p.nwktl = static_cast<std::int64_t>(stiff.size()) - 1;
    p.mass = c.mass.data();
    p.modes = modes;
    p.iteration_limit = limit;
    p.polynomial_limit = 50;
    p.print = true;
    return p;
  }

  // Every mode is an eigenpair of the chain (residual against |K phi|), and the modes
  // are mass-orthonormal.
  static void expect_orthonormal_eigenpairs(const Chain& c, const EigenModes& modes, double residual_tolerance,
                                            double tolerance = 1e-10) {
    std::vector<double> k_phi(c.n);
    for (int m = 1; m <= modes.count; ++m) {
      const double* phi = modes.vector(m);
      c.multiply(phi, k_phi.data());
      double residual = 0.0, size = 0.0;
      for (int i = 0; i < c.n; ++i) {
        const double r = k_phi[i] - modes.eigenvalues[m - 1] * c.mass[i] * phi[i];
        residual += r * r;
        size += k_phi[i] * k_phi[i];
      }
      EXPECT_LT(std::sqrt(residual / size), residual_tolerance) << "mode " << m;
      for (int l = 1; l <= m; ++l)
        EXPECT_NEAR(mass_product(c.mass.data(), phi, modes.vector(l), c.n), l == m ? 1.0 : 0.0, tolerance)
            << "modes " << l << " and " << m;
    }
  }

  std::vector<double> stiff;
  std::vector<std::int32_t> maxad;
  test::TempDir dir;
};

using Method = std::function<EigenModes(const EigenProblem&)>;

// A method with the residual its modes reach: inverse iteration converges on its
// eigenvalue estimate at the rate of the vector, the determinant search iterates its
// vectors from a shift within 1e-6 of the eigenvalue, and the subspace iteration stops
// on its eigenvalues, which converge twice as fast as its vectors.
// Inverse iteration stores its last solution without deflating it once more, so its
// modes are mass-orthogonal to 1e-9.
struct NamedMethod {
  const char* name;
  Method run;
  double residual;
  double orthogonality;
};

const NamedMethod SHIFTING_METHODS[] = {
    {"inverse iteration", inverse_iteration, 1e-9, 1e-9},
    {"determinant search", determinant_search, 1e-11, 1e-10},
    {"subspace iteration", subspace_iteration, 1e-5, 1e-10},
};

// The lumped bar: the three methods that find the lowest modes agree with the closed
// form, and with each other, to 1e-9; the power iteration finds the highest.
TEST_F(EigenMethods, FixedFreeChainAgainstItsClosedForm) {
  const int n = 12, p = 5;
  const Chain chain = Chain::fixed_free(n);
  std::vector<std::vector<double>> found;
  for (const NamedMethod& method : SHIFTING_METHODS) {
    const EigenModes modes = method.run(problem(chain, p));
    ASSERT_EQ(modes.count, p) << method.name;
    for (int j = 1; j <= p; ++j) {
      EXPECT_NEAR(modes.eigenvalues[j - 1], Chain::fixed_free_eigenvalue(n, j),
                  1e-9 * Chain::fixed_free_eigenvalue(n, j))
          << method.name << " mode " << j;
      EXPECT_EQ(modes.numbers[j - 1], j);
    }
    expect_orthonormal_eigenpairs(chain, modes, method.residual, method.orthogonality);
    found.push_back(modes.eigenvalues);
  }
  for (int j = 0; j < p; ++j) {
    EXPECT_NEAR(found[0][j], found[1][j], 1e-9 * found[1][j]);
    EXPECT_NEAR(found[2][j], found[1][j], 1e-9 * found[1][j]);
  }
  const EigenModes top = highest_mode(problem(chain, 1, 10000), [&](const double* x, double* y) { chain.multiply(x, y); });
  ASSERT_EQ(top.count, 1);
  EXPECT_EQ(top.numbers[0], n);
  // The power iteration stops on the change of its estimate, which converges at the
  // ratio of the two highest eigenvalues (0.93 here): 1e-8.
  EXPECT_NEAR(top.eigenvalues[0], Chain::fixed_free_eigenvalue(n, n), 1e-8 * Chain::fixed_free_eigenvalue(n, n));
  EXPECT_NEAR(mass_product(chain.mass.data(), top.vector(1), top.vector(1), n), 1.0, 1e-12);
  EXPECT_NE(listing().find("     FRECUENCIA MAS ALTA =  0."), std::string::npos);
}

// A chain symmetric about its middle: the plain start vector (1, ..., 1) is
// mass-orthogonal to every antisymmetric mode, so a start from it would never see
// them. The methods find them in their places, and the highest mode (antisymmetric
// for an even number of masses) too.
TEST_F(EigenMethods, SymmetricChainKeepsItsAntisymmetricModes) {
  const int n = 10, p = 6;
  const Chain chain = Chain::fixed_fixed(n);
  for (const NamedMethod& method : SHIFTING_METHODS) {
    const EigenModes modes = method.run(problem(chain, p));
    ASSERT_EQ(modes.count, p);
    for (int j = 1; j <= p; ++j)
      EXPECT_NEAR(modes.eigenvalues[j - 1], Chain::fixed_fixed_eigenvalue(n, j),
                  1e-9 * Chain::fixed_fixed_eigenvalue(n, j))
          << method.name << " mode " << j;
    expect_orthonormal_eigenpairs(chain, modes, method.residual, method.orthogonality);
    const std::vector<double> ones(n, 1.0);
    EXPECT_NEAR(mass_product(chain.mass.data(), ones.data(), modes.vector(2), n), 0.0, 1e-6) << method.name;
  }
  const EigenModes top = highest_mode(problem(chain, 1, 10000), [&](const double* x, double* y) { chain.multiply(x, y); });
  EXPECT_NEAR(top.eigenvalues[0], Chain::fixed_fixed_eigenvalue(n, n), 1e-8 * Chain::fixed_fixed_eigenvalue(n, n));
}

// Two identical chains side by side: every eigenvalue comes twice, with two
// mass-orthogonal vectors.
TEST_F(EigenMethods, RepeatedEigenvaluesComeWithIndependentVectors) {
  const int n = 6, p = 6;
  const Chain chain = Chain::fixed_free(n).twice();
  for (const NamedMethod& method : SHIFTING_METHODS) {
    const EigenModes modes = method.run(problem(chain, p));
    ASSERT_EQ(modes.count, p);
    for (int j = 1; j <= p; ++j) {
      const double exact = Chain::fixed_free_eigenvalue(n, (j + 1) / 2);
      EXPECT_NEAR(modes.eigenvalues[j - 1], exact, 1e-9 * exact) << method.name << " mode " << j;
    }
    expect_orthonormal_eigenpairs(chain, modes, method.residual, method.orthogonality);
  }
  // Half a pair wanted: the Sturm check of the subspace iteration counts the twin of
  // the last mode, whose estimate lies at the same value.
  for (int wanted : {1, 3, 5}) {
    const EigenModes modes = subspace_iteration(problem(chain, wanted));
    ASSERT_EQ(modes.count, wanted);
    const double exact = Chain::fixed_free_eigenvalue(n, (wanted + 1) / 2);
    EXPECT_NEAR(modes.eigenvalues[wanted - 1], exact, 1e-9 * exact);
  }
  EXPECT_NE(listing().find("AUTOVALORES MENORES =     6   CALCULADOS =     6"), std::string::npos);
}

// Far below its root a deflated determinant of high degree moves the secant little:
// here an uncoupled system (K diagonal, unit masses) with two thousand eigenvalues
// crowded above 10 and a close pair and a single one below. The determinant search
// accelerates its steps until a shift passes the eigenvalue, and settles each shift
// within its limit of 50; so it does on the double roots of two equal chains.
TEST_F(EigenMethods, DeterminantSearchOnACrowdedSpectrumAndOnDoubleRoots) {
  Chain crowded;
  crowded.n = 2000;
  for (int i = 0; i < crowded.n; ++i) crowded.diagonal.push_back(10.0 + (i % 100) * 1e-3);
  crowded.diagonal[0] = 1.0;
  crowded.diagonal[1] = 1.001;
  crowded.diagonal[2] = 3.0;
  crowded.off.assign(crowded.n, 0.0);
  crowded.mass.assign(crowded.n, 1.0);
  const EigenModes found = determinant_search(problem(crowded, 3));
  ASSERT_EQ(found.count, 3);
  for (int j = 0; j < 3; ++j) EXPECT_NEAR(found.eigenvalues[j], crowded.diagonal[j], 1e-9) << j;
  expect_orthonormal_eigenpairs(crowded, found, 1e-9, 1e-9);

  const Chain pairs = Chain::fixed_free(150).twice();
  const EigenModes modes = determinant_search(problem(pairs, 8));
  ASSERT_EQ(modes.count, 8);
  for (int j = 1; j <= 8; ++j) {
    const double exact = Chain::fixed_free_eigenvalue(150, (j + 1) / 2);
    EXPECT_NEAR(modes.eigenvalues[j - 1], exact, 1e-9 * exact) << "mode " << j;
  }
  expect_orthonormal_eigenpairs(pairs, modes, 1e-9, 1e-9);
}

// A degree of freedom without mass adds no eigenvalue: the methods that find the
// lowest modes still agree; the power iteration, whose highest eigenvalue would be
// infinite, stops.
TEST_F(EigenMethods, MasslessDegreeOfFreedom) {
  Chain chain = Chain::fixed_free(8);
  chain.mass[3] = 0.0;
  std::vector<std::vector<double>> found;
  for (const NamedMethod& method : SHIFTING_METHODS) {
    const EigenModes modes = method.run(problem(chain, 4));
    expect_orthonormal_eigenpairs(chain, modes, method.residual, method.orthogonality);
    found.push_back(modes.eigenvalues);
  }
  for (int j = 0; j < 4; ++j) {
    EXPECT_NEAR(found[0][j], found[1][j], 1e-9 * found[1][j]);
    EXPECT_NEAR(found[2][j], found[1][j], 1e-9 * found[1][j]);
  }
  EXPECT_EQ(test::stop_message_of([&] {
              highest_mode(problem(chain, 1), [&](const double* x, double* y) { chain.multiply(x, y); });
            }),
            "VONMIS: GRADO DE LIBERTAD LIBRE SIN MASA");
}

// The shifted factorisation counts the eigenvalues below the shift (Sturm sequence)
// and gives det(K - mu M) = det M prod (lambda_j - mu).
TEST_F(EigenMethods, ShiftedFactorisationCountsAndDeterminant) {
  const int n = 8;
  const Chain chain = Chain::fixed_free(n);
  chain.profile(stiff, maxad);
  std::vector<double> work(stiff.size());
  // (mu = 1 would make the second pivot exactly zero, which stops the factorisation.)
  for (double mu : {0.0, 0.01, 0.5, 1.1, 2.2, 3.9, 5.0}) {
    const ShiftedFactor f = factorise_shifted(stiff.data(), work.data(), maxad.data(), n,
                                              static_cast<std::int64_t>(stiff.size()) - 1, chain.mass.data(), mu);
    int below = 0;
    double log_det = 0.0;
    for (int j = 1; j <= n; ++j) {
      const double lambda = Chain::fixed_free_eigenvalue(n, j);
      below += lambda < mu ? 1 : 0;
      log_det += std::log(std::abs(lambda - mu)) + std::log(chain.mass[j - 1]);
    }
    EXPECT_EQ(f.below, below) << mu;
    EXPECT_EQ(f.sign, below % 2 == 0 ? 1 : -1) << mu;
    EXPECT_NEAR(f.log_determinant, log_det, 1e-12 * n) << mu;
  }
}

// The projected problem of the subspace iteration: A v = lambda B v with both
// matrices full, and the stops for matrices that are not positive definite.
TEST(GeneralizedJacobi, DiagonalisesBothMatrices) {
  const int q = 4;
  const double a_full[q][q] = {{4, 1, 0.5, 0}, {1, 3, 0.2, 0.1}, {0.5, 0.2, 2, 0.3}, {0, 0.1, 0.3, 1}};
  const double b_full[q][q] = {{2, 0.1, 0, 0}, {0.1, 1, 0.2, 0}, {0, 0.2, 1.5, 0.1}, {0, 0, 0.1, 1}};
  std::vector<double> a(q * (q + 1) / 2), b(a.size()), vectors(q * q), eigenvalues(q);
  for (int j = 0; j < q; ++j)
    for (int i = 0; i <= j; ++i) {
      a[packed_index(i, j)] = a_full[i][j];
      b[packed_index(i, j)] = b_full[i][j];
    }
  ASSERT_EQ(generalized_jacobi(a.data(), b.data(), vectors.data(), eigenvalues.data(), q, 1e-20, 15),
            JacobiOutcome::solved);
  for (int m = 0; m < q; ++m) {
    const double* v = vectors.data() + q * m;
    for (int i = 0; i < q; ++i) {
      double av = 0.0, bv = 0.0;
      for (int k = 0; k < q; ++k) {
        av += a_full[i][k] * v[k];
        bv += b_full[i][k] * v[k];
      }
      EXPECT_NEAR(av, eigenvalues[m] * bv, 1e-12) << m << " " << i;
    }
    for (int l = 0; l < q; ++l) {
      double vbv = 0.0;
      for (int i = 0; i < q; ++i)
        for (int k = 0; k < q; ++k) vbv += vectors[q * l + i] * b_full[i][k] * v[k];
      EXPECT_NEAR(vbv, l == m ? 1.0 : 0.0, 1e-12);
    }
  }
  std::vector<double> zero_diagonal = {0.0, 1.0, 2.0}, identity = {1.0, 0.0, 1.0};
  EXPECT_EQ(generalized_jacobi(zero_diagonal.data(), identity.data(), vectors.data(), eigenvalues.data(), 2, 1e-20, 15),
            JacobiOutcome::not_positive_on_entry);
  std::vector<double> unit = {1.0, 0.0, 1.0}, indefinite = {1.0, 2.0, 1.0};
  EXPECT_NE(generalized_jacobi(unit.data(), indefinite.data(), vectors.data(), eigenvalues.data(), 2, 1e-20, 15),
            JacobiOutcome::solved);
}

// Every iteration ends: a limit reached without convergence is a fatal stop that
// names the method, with a line in the listing; so are more modes than masses and a
// stiffness that is not positive definite. The scratch files of the methods are gone
// after a normal end.
TEST_F(EigenMethods, LimitsAndStops) {
  const Chain chain = Chain::fixed_free(12);
  struct Case {
    std::function<void()> call;
    std::string message, line;
  };
  auto product = [&](const double* x, double* y) { chain.multiply(x, y); };
  Chain indefinite = chain;
  indefinite.diagonal[0] = -5.0;
  const Chain small = Chain::fixed_free(4);
  const Case cases[] = {
      {[&] { inverse_iteration(problem(chain, 2, 3)); }, "INVERS: NO CONVERGE EN 3 ITERACIONES",
       "     MODO    1   SIN CONVERGENCIA TRAS      3 ITERACIONES"},
      {[&] {
         EigenProblem p = problem(chain, 2);
         p.polynomial_limit = 2;
         determinant_search(p);
       },
       "DSEARC:NO HAY CONVERGENCIA EN EL SHIFT", "     NO SE OBTUVO CONVERGENCIA EN EL SHIFT   AUTOVALOR    1"},
      {[&] { determinant_search(problem(chain, 2, 1)); }, "DSEARC:SUPERADO EL NUMERO DE ITERACIONES",
       "     LA CONVERGENCIA EN EL EIGENVECTOR No.    1\n     NO SE HA OBTENIDO DESPUES DE    1 ITERACIONES"},
      {[&] { highest_mode(problem(chain, 1, 3), product); }, "VONMIS: NO CONVERGE EN 3 ITERACIONES",
       "ITERACION DE POTENCIAS SIN CONVERGENCIA TRAS      3 ITERACIONES"},
      {[&] { subspace_iteration(problem(chain, 2, 1)); }, "SPACE:NO CONVERGE EN 1 ITERACIONES",
       "INTEGRACION EN EL SUBESPACIO SIN CONVERGENCIA TRAS      1 ITERACIONES"},
      {[&] { inverse_iteration(problem(small, 5)); }, "INVERS: MAS AUTOVALORES QUE GDL CON MASA", ""},
      {[&] { determinant_search(problem(small, 5)); }, "DSEARC: MAS AUTOVALORES QUE GDL CON MASA", ""},
      {[&] { subspace_iteration(problem(small, 5)); }, "SPACE:NC LARGER THAN MASS DOF", ""},
      {[&] { subspace_iteration(problem(indefinite, 2)); }, "SPACE:STIFFNESS MATRIX NOT POSITIVE DEF", ""},
      {[&] { determinant_search(problem(indefinite, 2)); }, "DSEARC:RIGIDEZ NO DEFINIDA POSITIVA", ""},
      {[&] { inverse_iteration(problem(indefinite, 2)); }, "DECOMP: MAT RIGIDEZ NO DEFINIDA POSITIVA",
       "LA MATRIZ DE RIGIDEZ NO ES DEFINIDA POSITIVA"},
  };
  for (const Case& c : cases) {
    test::open_deck(dir.file("E.vtn"));
    RUN.NXTPOS = 1;
    EXPECT_EQ(test::stop_message_of(c.call), c.message);
    if (!c.line.empty()) {
      EXPECT_NE(listing().find(c.line), std::string::npos) << c.message;
    }
  }
  test::open_deck(dir.file("E.vtn"));
  subspace_iteration(problem(chain, 3));
  determinant_search(problem(chain, 3));
  for (const char* scratch : {"E.SPACE.TMP", "E.dt1", "E.dt2"}) EXPECT_FALSE(test::file_exists(dir.file(scratch)));
}

}  // namespace
}  // namespace vortan

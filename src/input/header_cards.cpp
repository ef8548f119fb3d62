// The header card loop shared by the seven problem-header readers. A variant is a
// column of the tables below: which cards it accepts and which checks it makes.
#include <cmath>
#include <string>

#include "input/card_reader.h"
#include "input/parameters.h"
#include "input/problem.h"
#include "input/problem_header.h"
#include "run/errstp.h"
#include "run/file_set.h"

namespace vortan {

namespace {

using Mask = unsigned;

constexpr Mask bit(ProblemVariant v) { return 1u << static_cast<unsigned>(v); }

constexpr Mask SL = bit(ProblemVariant::static_linear);
constexpr Mask SG = bit(ProblemVariant::static_general);
constexpr Mask NL = bit(ProblemVariant::nonlinear);
constexpr Mask TH = bit(ProblemVariant::thermal);
constexpr Mask EI = bit(ProblemVariant::eigen);
constexpr Mask ID = bit(ProblemVariant::implicit_dynamics);
constexpr Mask ED = bit(ProblemVariant::explicit_dynamics);
constexpr Mask ALL = SL | SG | NL | TH | EI | ID | ED;
constexpr Mask DYN = ID | ED;

// The single-precision value 0.0001 widened to double.
constexpr double SMALL_TIME = 9.999999747378752e-05;

struct Reader {
  ProblemVariant variant;
  Mask self;
  const char* prefix;  // "INPEST:" or "INPFREC:"
  bool is(Mask mask) const { return (self & mask) != 0; }
  [[noreturn]] void stop(const char* text) const { ERRSTP(std::string(prefix) + " " + text); }
};

void card_title(const Reader&) {
  PROBLEM.title = CARD.CARDIM;
  write_record(UNIT_LISTING, CARD.CARDIM);
}

void card_general(const Reader&) {
  if (!CARD.word_is(2, "LINEAL")) write_record(UNIT_LISTING, "WARNING: SE USARA GENERAL: LINEAL");
}

void card_material(const Reader&) {
  if (!CARD.word_is(2, "LINEAL")) write_record(UNIT_LISTING, "WARNING: SE USARA MATERIAL: LINEAL");
}

void card_error(const Reader&) {
  if (CARD.word_is(2, "ACTIVO")) PROBLEM.error_estimation = 1;
  else if (CARD.word_is(2, "NOACTIVO")) PROBLEM.error_estimation = 0;
  else ERRSTP("INPEST: ERROR SOLO ES ACTIVO O NO_ACTIVO");
}

const char* const NRADS_TEXT = " IND. TIPO DE  COOR. 1-PLOAR 2-ESFERIC.";

void card_nodes(const Reader& r) {
  PROBLEM.NPNODS = GETINT("NPNODS=", 0, " NUMERO DE PUNTOS NODALES");
  if (r.is(SL)) {
    PROBLEM.NRADS = GETINT("NRADS=", 0, NRADS_TEXT);
    PROBLEM.MAPOY = GETINT("MAPOY=", 0, " NUMERO DE APOYOS INCLINADOS");
    PROBLEM.MRESO = GETINT("MRESO=", 0, " NUMERO DE APOYOS ELASTICOS");
    PROBLEM.MGDLL = GETINT("MGDLL=", 0, " NUMERO DE GRADOS DE LIBERTAD LIGADOS");
  }
}

void card_sets(const Reader&) { PROBLEM.NSETS = GETINT("NSETS=", 1, " NUMERO DE SETS EN EL PROBLEMA"); }

void eigen_solver(const Reader& r) {
  if (CARD.word_is(2, "ITERACIONINVERSA")) PROBLEM.solver = 1;
  else if (CARD.word_is(2, "BUSQUEDADETERMINANTE")) PROBLEM.solver = 2;
  else if (CARD.word_is(2, "VONMISES")) PROBLEM.solver = 3;
  else if (CARD.word_is(2, "INTEGRACIONENELSUBESPACIO")) PROBLEM.solver = 4;
  else r.stop("SOLVER NO IMPLEMENTADO");
}

// "GRADIENTECONJUGADO" options of the static linear reader. After "SPARCE" the words
// "PRECONDICIONADO" and "GMRES" may both be given, in either order.
void conjugate_gradient_options() {
  if (CARD.word_is(3, "PRECONDICIONADO")) {
    PROBLEM.preconditioned = 1;
  } else if (CARD.word_is(3, "SPARCE")) {
    PROBLEM.solver = 5;
    for (int w = 4; w <= 5; ++w) {
      if (CARD.word_is(w, "PRECONDICIONADO")) PROBLEM.preconditioned = 1;
      if (CARD.word_is(w, "GMRES")) PROBLEM.conjugate_gradient = 0;
    }
  }
}

void card_solver(const Reader& r) {
  if (r.is(EI)) {
    eigen_solver(r);
    return;
  }
  PROBLEM.preconditioned = 0;
  PROBLEM.conjugate_gradient = 1;
  if (CARD.word_is(2, "ELIMINACIONGAUSS")) PROBLEM.solver = 1;
  else if (CARD.word_is(2, "LDLT")) PROBLEM.solver = 2;
  else if (CARD.word_is(2, "DIRECTODISPERSO") && r.is(SL | TH)) {
    // The library-backed factorisation; a build without the library names its package.
#ifndef VORTAN_HAVE_CHOLMOD
    ERRSTP("INPEST: FALTA PAQUETE libsuitesparse-dev");
#endif
    PROBLEM.solver = 6;
  }
  else if (CARD.word_is(2, "GRADIENTECONJUGADO")) {
    PROBLEM.solver = 3;
    if (r.is(SL)) conjugate_gradient_options();
  } else
    ERRSTP("INPEST: SOLVER NO IMPLEMENTADO");
}

void card_postprocess(const Reader& r) {
  if (r.is(EI)) PROBLEM.postprocessor = 1;
  else if (CARD.word_is(2, "KELDAR")) PROBLEM.postprocessor = 1;
  else if (CARD.word_is(2, "FEMVIEW")) PROBLEM.postprocessor = 2;
  else ERRSTP("INPEST: POSTRPOCESO NO IMPLEMENTADO");
}

void card_internal_forces(const Reader&) {
  if (CARD.word_is(2, "SI")) PROBLEM.internal_forces = 1;
  if (CARD.word_is(3, "ELEMENTO")) PROBLEM.internal_forces_per_element = 1;
}

void card_boundary_elements(const Reader&) {
  PROBLEM.NFRON = GETINT("NFRON=", 1, " NUMERO DE ELEMENTOS CON COND. CONTORNO");
}

void card_algorithm(const Reader&) {
  int& code = PROBLEM.stiffness_update;
  if (CARD.word_is(2, "INICIAL")) code = 1;
  else if (CARD.word_is(2, "RECALCULASIEMPRE")) code = 2;
  else if (CARD.word_is(2, "RECALCULACADA")) {
    double first = 0.0;  // the first number of the card
    for (int i = 1; i <= CARD.NSLOT && first == 0.0; ++i) first = CARD.VALUE(i);
    const double shifted = std::trunc(first + 2.0);
    code = shifted <= 0.0 ? 1 : (shifted > 10.0 ? 10 : static_cast<int>(shifted));
  } else
    return;
  if (code <= 0) code = 1;
  if (code > 10) code = 10;
}

void card_plot_displacement(const Reader&) {
  PROBLEM.plot_node = GETINT("NODO=", 0, " NUMERO DE NODO");
  PROBLEM.plot_direction = GETINT("DIRECCION=", 1, " DIRECCION PARA ESCRIBIR DESPLAZAMIENTO");
}

void card_eigenvalues(const Reader&) {
  PROBLEM.NUMFR = GETINT("NUMFR=", 1, " NUMERO DE AUTOVALORES POR CALCULAR");
  PROBLEM.NRADS = GETINT("NRADS=", 0, NRADS_TEXT);
}

void card_plot_nodes(const Reader&) {
  PROBLEM.NREQD = GETINT("NREQD=", 0, " NUM. NODOS PARA PLOT. DESPLAZAMIENTOS");
  PROBLEM.NREQL = GETINT("NREQL=", 0, " NUM. NODOS PARA PLOT. FUERZAS");
  PROBLEM.IENER = GETINT("IENER=", 0, " INDICADOR PARA PLOTEAR ENERGIA");
}

void card_reading_switches(const Reader& r) {
  PROBLEM.IFUNC = GETINT("IFUNC=", 0, " IND. PARA LECTURA DE ACELEROGRAMA");
  PROBLEM.IFIXD = GETINT("IFIXD=", 0, " IND. PARA GRAD. DE LIB. ACELERACION");
  PROBLEM.NRADS = GETINT("NRADS=", 0, NRADS_TEXT);
  if (r.is(ED)) PROBLEM.KSTEP = GETINT("KSTEP=", 100, " NUM. PASOS CALC. MAXIMA FREC. DE VIBR.");
}

void card_times(const Reader& r) {
  PROBLEM.TOUTD = GETREA("TOUTD=", SMALL_TIME, " INC. DE TIEMPO PARA PLOT. CURVAS");
  PROBLEM.TOUTP = GETREA("TOUTP=", SMALL_TIME, " INC. DE TIEMPO PARA PLOT. TOTAL");
  PROBLEM.DTREC = GETREA("DTREC=", 0.0, " TIEMPO DE INICIO DE ACELEROGRAMA");
  PROBLEM.DTEND = GETREA("DTEND=", 10.0, " TIEMPO FINAL PARA ACCIONES");
  PROBLEM.DTIME = GETREA("DTIME=", 1.0, " INCREMENTO DE TIEMPO INICIAL");
  PROBLEM.ENDTM = GETREA("ENDTM=", 10.0, " TIEMPO FINAL");
  if (r.is(ED)) PROBLEM.AALFA = GETREA("AALFA=", 1.0, " FACTOR DE AMPLIFICACION ACELERACION");
  PROBLEM.AZERO = GETREA("AZERO=", 1.0, " VALOR DE INCREMENTO CONSTANTE ACELER.");
  PROBLEM.BZERO = GETREA("BZERO=", 0.0, " CONSTANTE DE FASE PARA ACELERACION");
  PROBLEM.OMEGA = GETREA("OMEGA=", SMALL_TIME, " ANGULO DE FASE PARA ACCIONES");
}

struct PrintCard {
  const char* keyword;
  PrintSwitch which;
  Mask readers;
};

constexpr PrintCard PRINT_CARDS[] = {
    {"SALIDADATOS", PRINT_DATA, ALL},
    {"SALIDADESPLAZAMIENTO", PRINT_DISPLACEMENTS, SL | SG | TH | EI},
    {"SALIDATENSIONES", PRINT_STRESSES, SL | SG | TH},
    {"SALIDAERROR", PRINT_ERROR, SL | SG | TH},
    {"SALIDAFUERZASINTERNA", PRINT_FORCES, SL | SG | TH},
    {"FUERZASPORELEMENTO", PRINT_FORCES_PER_ELEMENT, SL | SG | TH | DYN},
};

// A print card; false when its second word is none the reader accepts, which ends the
// header like any card that is not a header card.
bool card_print(const Reader& r) {
  for (const PrintCard& p : PRINT_CARDS) {
    if (!CARD.word_is(2, p.keyword)) continue;
    if (!r.is(p.readers)) return false;
    PROBLEM.print[p.which] = ACTIVA(CARD.WORD(3));
    return true;
  }
  return false;
}

struct HeaderCard {
  const char* keyword;
  Mask readers;
  void (*action)(const Reader&);
};

// The header cards in the order they are compared, with the readers that accept them.
constexpr HeaderCard HEADER_CARDS[] = {
    {"TITULO", NL | TH | EI | DYN, card_title},
    {"GENERAL", TH | DYN, card_general},
    {"MATERIAL", TH | DYN, card_material},
    {"ERROR", SL | SG | TH, card_error},
    {"NUMERODENODOS", ALL, card_nodes},
    {"NUMERODESETS", ALL, card_sets},
    {"SOLVER", SL | SG | NL | TH | EI, card_solver},
    {"POSTPROCESO", SL | SG | TH | EI, card_postprocess},
    {"FUERZASINTERNAS", SL | SG | TH, card_internal_forces},
    {"CONDICIONESDECONTORNO", TH, card_boundary_elements},
    {"TIPODEALGORITMO", NL, card_algorithm},
    {"PARAPLOTEARDESPLAZAMIENTO", NL, card_plot_displacement},
    {"NUMERODEAUTOVALORES", EI, card_eigenvalues},
    {"NUMERONODOSPARAPLOTE", DYN, card_plot_nodes},
    {"INDICADORESDELECTURA", DYN, card_reading_switches},
    {"TIEMPOSYCONSTANTES", DYN, card_times},
};

// Takes the action of a header card; false when the card ends the header.
bool header_card(const Reader& r) {
  if (CARD.word_is(1, "IMPRESIONESGLOBALES")) return card_print(r);
  for (const HeaderCard& card : HEADER_CARDS) {
    if (!CARD.word_is(1, card.keyword)) continue;
    if (!r.is(card.readers)) return false;
    card.action(r);
    return true;
  }
  return false;
}

void mandatory_checks(const Reader& r) {
  if (PROBLEM.NSETS == 0) r.stop("NUMERO_SETS ES OBLIGATORIO");
  if (PROBLEM.NPNODS == 0) r.stop("NPNODS PTS NODALES ES OBLIGATORIO");
  if (r.is(SL | SG | NL | TH | EI) && PROBLEM.solver == 0) r.stop("SOLVER ES OBLIGATORIO");
  if (r.is(SL | SG | TH) && PROBLEM.postprocessor == 0) ERRSTP("INPEST: POSTPROCESO ES OBLIGATORIO");
  // Without a number of modes the eigenvalue methods would have nothing to stop at.
  if (r.is(EI) && PROBLEM.NUMFR < 1) r.stop("NUMFR DEBE SER MAYOR QUE CERO");
}

void reset_header() {
  PROBLEM.NPNODS = 0;
  PROBLEM.NSETS = 0;
  PROBLEM.solver = 0;
  PROBLEM.postprocessor = 0;
  PROBLEM.error_estimation = 0;
  PROBLEM.internal_forces = 0;
  PROBLEM.internal_forces_per_element = 0;
  PROBLEM.NUMFR = 0;
  for (int& p : PROBLEM.print) p = 1;
}

}  // namespace

void read_header_cards(ProblemVariant variant) {
  const bool eigen = variant == ProblemVariant::eigen;
  const Reader r{variant, bit(variant), eigen ? "INPFREC:" : "INPEST:"};
  const char* routine = eigen ? "INPFREC" : "INPEST";
  reset_header();
  for (;;) {
    LISTEN(routine);
    if (CARD.NWORD == 0) r.stop(eigen ? "TARJETA EQUIVOCADA EN INPFREC" : "TARJETA EQUIVOCADA EN INPEST");
    if (!header_card(r)) break;
  }
  mandatory_checks(r);
}

}  // namespace vortan

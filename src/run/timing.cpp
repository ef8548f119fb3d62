#include "run/timing.h"

#include "run/analysis_code.h"

#include <chrono>
#include <ctime>
#include <string>

#include "run/file_set.h"
#include "run/fortran_format.h"
#include "run/work_array.h"

namespace vortan {

TimingRecord TIMING;

namespace {

LocalTime system_local_time() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&seconds, &tm);
  return {tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms),
          tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900};
}

ClockSource clock_source = system_local_time;

// Days of the year before each month (January to December) of a common year.
constexpr int DAYS_BEFORE[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

struct ProgressText {
  const char* first;
  const char* second;
};

const ProgressText* progress_text(int code) {
  static const ProgressText texts[] = {
      {"TIEMPO CONSUMIDO EN LA  INICIALIZACION   DEL  ", " PROGRAMA    :   "},
      {"TIEMPO CONSUMIDO EN LA  LECTURA DE DATOS DEL  ", " PROGRAMA    :   "},
      {"TIEMPO CONSUMIDO EN EL CALCULO  DE  LA  MATRIZ", " DE RIGIDEZ  :   "},
      {"TIEMPO CONSUMIDO EN EL CALCULO DE  LAS  CARGAS", " EQUIVALENTES:   "},
      {"TIEMPO CONSUMIDO EN LA SOLUCION DEL SISTEMA DE", " ECUACIONES  :   "},
      {"TIEMPO CONSUMIDO EN EL     CALCULO   DE    LAS", " TENSIONES   :   "},
      {"TIEMPO CONSUMIDO EN EL SUAVIZADO DE TENSIONES ", "             :   "},
      {"TIEMPO CONSUMIDO EL CALCULO DEL PORCENTAJE DEL", " ERROR       :   "},
      {"TIEMPO CONSUMIDO EN EL CALCULO DEL FICHERO DE ", " POSTROCESO  :   "},
      {"TIEMPO CONSUMIDO EN EL CALCULO DE LAS FUERZAS ", "INTERNAS     :   "},
      {"TIEMPO CONSUMIDO EN LA EJECUCION DEL PROGRAMA ", " VORTAN      :   "},
      {"TIEMPO CONSUMIDO EN EL CALCULO  DE  LA  MATRIZ", " DE MASA     :   "},
      {"TIEMPO CONSUMIDO EN CALCULO DE VALORES Y VECTO", "RES PROPIOS  :   "},
      {"TIEMPO CONSUMIDO EN SALIDA DE RESULTADOS PARA ", "POSTROCESO   :   "},
      {"TIEMPO CONSUMIDO EN ENSAMBLAJE DE MASAS Y FUER", "ZAS          :   "},
      {nullptr, nullptr},
      {"INICIO DEL CALCULO DINAMICO IMPLICITO         ", "             :   "},
  };
  if (code < 1 || code > 17) return nullptr;
  const ProgressText* text = &texts[code - 1];
  return text->first == nullptr ? nullptr : text;
}

// The text of a progress line before the elapsed time.
std::string progress_body(int code, int n, double x, double y) {
  switch (code) {
    case 16:
      return "PASOS:" + fmt::I(n, 6) + " INC DE TIEMPO: " + fmt::E(x, 12, 5) + "T T:" +
             fmt::E(y, 12, 5) + " CONS:";
    case 18:
      return "AUTOVALORES EN ITERACION :" + fmt::I(n, 5) + " ERROR:" + fmt::E(x, 12, 5) +
             fmt::X(3) + " CONS :   ";
    case 19:
      return "CALCULO DEL AUTOVALOR NUMERO:" + fmt::I(n, 5) + fmt::X(10) + "               :   ";
    case 20:
      return "INCREM.: " + fmt::I(n, 5) + "  ITERAC.: " + fmt::I(static_cast<long long>(x), 5) +
             "  ERROR:" + fmt::E(y, 12, 5) + " TIEMPO :   ";
    default: {
      const ProgressText* text = progress_text(code);
      if (text == nullptr) return "";
      return std::string(text->first) + text->second;
    }
  }
}

using RowNames = const char* const[9];

constexpr RowNames STATIC_ROWS = {
    "INICIO DEL CALCULO............", "DIMENSIONAMIENTO Y LECTURA....",
    "CALCULO DE MATRIZ DE RIGIDEZ..", "CARGAS EXTERNAS EQUIBALENTES..",
    "SOLUCION SISTEMA DE ECUACIONES", "TENSIONES EN PUNTOS DE GAUSS..",
    "SUAVIZADO DE TENSIONES .......", "ANALISIS DEL ERROR............",
    "POSTPROCESO..................."};
constexpr RowNames IMPLICIT_ROWS = {
    "INICIO DEL CALCULO............", "DIMENSIONAMIENTO Y LECTURA....",
    "CALCULO DE MENOR VALOR PROPIO.", "CARGAS EXTERNAS EQUIBALENTES..",
    "CALCULO DE MAT DE MASAS Y RIG.", "ENSAMBLAJE DE MASAS Y RIGIDEZ.",
    "INICIO DE AVANCE EN EL TIEMPO.", "AVANCE EN EL TIEMPO...........",
    "SALIDA DE INFORMACION........."};
constexpr RowNames EXPLICIT_ROWS = {
    "INICIO DEL CALCULO............", "DIMENSIONAMIENTO Y LECTURA....",
    "CALCULO DE MAXIMO VALOR PROPIO", "CARGAS EXTERNAS EQUIBALENTES..",
    "CALCULO DE MATRIZ DE MASAS....", "ENSAMBLAJE DE MASAS Y FUERZAS.",
    "AVANCE EN EL TIEMPO... .......", "CALCULO DE FUERZAS INTERNAS...",
    "SALIDA DE INFORMACION........."};
constexpr RowNames EIGEN_ROWS = {
    "INICIO DEL CALCULO............", "DIMENSIONAMIENTO Y LECTURA....",
    "CALCULO DE MATRIZ DE RIGIDEZ..", "CALCULO DE MATRIZ DE MASA.....",
    "SOLUCION DE AUTOVALORES.......", "POSTPROCESO...................",
    nullptr, nullptr, nullptr};
constexpr RowNames NONLINEAR_ROWS = {
    "INICIO DEL CALCULO............", "DIMENSIONAMIENTO Y LECTURA....",
    "CARGAS EXTERNAS EQUIBALENTES..", "INICIALIZACION DE ARREGLOS....",
    "INCREMENTO CARGAS Y ALGORITMO ", "SOLUCION SISTEMA DE ECUACIONES",
    "CALCULO DE FUERZAS INTERNAS...", "CONVERGENCIA..................",
    "SALIDA DE RESULTADOS . ......."};

// Row names of the report of an analysis code, or none for a code without a report.
const RowNames* report_rows(int kanali, int& rows) {
  rows = 9;
  switch (kanali) {
    case NO_ANALYSIS:  // a static run whose cards selected no driver
    case STATIC_LINEAR:
    case HEAT_CONDUCTION: return &STATIC_ROWS;
    case IMPLICIT_DYNAMICS: return &IMPLICIT_ROWS;
    case EXPLICIT_DYNAMICS: return &EXPLICIT_ROWS;
    case EIGENVALUES: rows = 6; return &EIGEN_ROWS;
    case NONLINEAR_STATIC: return &NONLINEAR_ROWS;
    default: return nullptr;
  }
}

void write_report(int unit, const RowNames& names, int rows, const double* seconds,
                  const double* percent, double others, double others_percent) {
  write_empty(unit, 3);
  write_record(unit, "I N F O R M A C I O N    DE    T I E M P O S");
  write_empty(unit);
  write_record(unit, fmt::X(5) + "ACCION                           CPU(SEC)         %");
  write_empty(unit);
  for (int i = 0; i < rows; ++i) {
    write_record(unit, fmt::X(5) + fmt::A(names[i], 30) + fmt::E(seconds[i], 14, 4) + fmt::X(2) +
                           fmt::F(percent[i], 6, 2) + " %");
    write_empty(unit);
  }
  write_record(unit, fmt::X(15) + "OTROS........................" + fmt::E(others, 14, 4) +
                         fmt::X(2) + fmt::F(others_percent, 6, 2) + " %");
  write_empty(unit, 2);
}

}  // namespace

void set_clock_source(ClockSource source) {
  clock_source = source != nullptr ? source : system_local_time;
}

LocalTime local_time() { return clock_source(); }

double clock_reading(const LocalTime& time) {
  int day = time.day;
  if (time.month >= 2 && time.month <= 12) day += DAYS_BEFORE[time.month - 1];
  if (time.month >= 3 && time.year % 4 == 0) day += 1;
  return day * 86400.0 + time.hour * 3600.0 + time.minute * 60.0 + time.second +
         time.millisecond / 1000.0;
}

void SECNOW(double& t) { t = clock_reading(local_time()); }

void TIMACC(int action, double* table, int mode) {
  double now = 0.0;
  SECNOW(now);
  if (mode == 1)
    table[20 + action - 1] = now;
  else
    table[action - 1] += now - table[20 + action - 1];
}

void ELAPSE() {
  double now = 0.0;
  SECNOW(now);
  const double a = now - TIMING.program_start;
  const long hours = static_cast<long>(a / 3600.0);
  double r = a - hours * 3600.0;
  const long minutes = static_cast<long>(r / 60.0);
  r -= minutes * 60.0;
  const long seconds = static_cast<long>(r);
  const long milliseconds = static_cast<long>((r - seconds) * 1000.0);
  RUN.elapsed[0] = static_cast<std::int16_t>(hours);
  RUN.elapsed[1] = static_cast<std::int16_t>(minutes);
  RUN.elapsed[2] = static_cast<std::int16_t>(seconds);
  RUN.elapsed[3] = static_cast<std::int16_t>(milliseconds);
}

void TIMREP() {
  int rows = 0;
  const RowNames* names = report_rows(RUN.KANALI, rows);
  if (names == nullptr) return;
  double total = TIMING.slot(10);
  if (total == 0.0) total = 1.0;
  double seconds[9] = {};
  double percent[9] = {};
  double sum = 0.0;
  for (int i = 0; i < rows; ++i) {
    seconds[i] = TIMING.slot(i + 1);
    percent[i] = seconds[i] * 100.0 / total;
    sum += seconds[i];
  }
  const double others = total - sum;
  const double others_percent = others * 100.0 / total;
  write_report(UNIT_TIMING, *names, rows, seconds, percent, others, others_percent);
  write_report(UNIT_LISTING, *names, rows, seconds, percent, others, others_percent);
}

void PROGRE(double start, int code, int n, double x, double y) {
  double now = 0.0;
  SECNOW(now);
  const long e = static_cast<long>(now - start);
  write_record(UNIT_CONSOLE, "+ " + progress_body(code, n, x, y) + fmt::I(e / 3600, 6) + ":" +
                                 fmt::I((e / 60) % 60, 2) + ":" + fmt::I(e % 60, 2));
}

}  // namespace vortan

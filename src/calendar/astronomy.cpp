#include "calendar/astronomy.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kJ2000 = 2451545.0;

double sinDeg(double degrees) { return std::sin(degrees * kDegree); }

double normalizedDegrees(double degrees) {
  double result = std::fmod(degrees, 360.0);
  return result < 0 ? result + 360.0 : result;
}

// ---- new moon ------------------------------------------------------------

double newMoonTTOf(double k) {
  const double t = k / 1236.85;
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  const double meanPhase =
      2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
  const double e = 1 - 0.002516 * t - 0.0000074 * t2;
  const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
  const double mp = 201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
  const double f = 160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
  const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;

  double correction = -0.40720 * sinDeg(mp) + 0.17241 * e * sinDeg(m) + 0.01608 * sinDeg(2 * mp) +
                      0.01039 * sinDeg(2 * f) + 0.00739 * e * sinDeg(mp - m) -
                      0.00514 * e * sinDeg(mp + m) + 0.00208 * e * e * sinDeg(2 * m) -
                      0.00111 * sinDeg(mp - 2 * f) - 0.00057 * sinDeg(mp + 2 * f) +
                      0.00056 * e * sinDeg(2 * mp + m) - 0.00042 * sinDeg(3 * mp) +
                      0.00042 * e * sinDeg(m + 2 * f) + 0.00038 * e * sinDeg(m - 2 * f) -
                      0.00024 * e * sinDeg(2 * mp - m) - 0.00017 * sinDeg(omega) -
                      0.00007 * sinDeg(mp + 2 * m) + 0.00004 * sinDeg(2 * mp - 2 * f) +
                      0.00004 * sinDeg(3 * m) + 0.00003 * sinDeg(mp + m - 2 * f) +
                      0.00003 * sinDeg(2 * mp + 2 * f) - 0.00003 * sinDeg(mp + m + 2 * f) +
                      0.00003 * sinDeg(mp - m + 2 * f) - 0.00002 * sinDeg(mp - m - 2 * f) -
                      0.00002 * sinDeg(3 * mp + m) + 0.00002 * sinDeg(4 * mp);

  // Planetary arguments: phase, rate per lunation, amplitude in days.
  struct Planetary {
    double phase, rate, amplitude;
  };
  static constexpr Planetary kPlanetary[14] = {
      {299.77, 0.107408, 0.000325}, {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
      {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
      {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
      {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
      {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
  };
  for (int i = 0; i < 14; ++i) {
    double argument = kPlanetary[i].phase + kPlanetary[i].rate * k;
    if (i == 0) argument -= 0.009173 * t2;
    correction += kPlanetary[i].amplitude * sinDeg(argument);
  }
  return meanPhase + correction;
}

// ---- the Sun ---------------------------------------------------------------

// One periodic term of VSOP87: amplitude (1e-8 rad or AU), phase, frequency
// per Julian millennium.
struct Term {
  double amplitude, phase, frequency;
};

constexpr Term kL0[] = {
    {175347046, 0, 0}, {3341656, 4.6692568, 6283.07585}, {34894, 4.6261, 12566.1517},
    {3497, 2.7441, 5753.3849}, {3418, 2.8289, 3.5231}, {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194}, {2343, 6.1352, 3930.2097}, {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.691}, {1199, 1.1096, 1577.3435}, {990, 5.233, 5884.927},
    {902, 2.045, 26.298}, {857, 3.508, 398.149}, {780, 1.179, 5223.694},
    {753, 2.533, 5507.553}, {505, 4.583, 18849.228}, {492, 4.205, 775.523},
    {357, 2.92, 0.067}, {317, 5.849, 11790.629}, {284, 1.899, 796.298},
    {271, 0.315, 10977.079}, {243, 0.345, 5486.778}, {206, 4.806, 2544.314},
    {205, 1.869, 5573.143}, {202, 2.458, 6069.777}, {156, 0.833, 213.299},
    {132, 3.411, 2942.463}, {126, 1.083, 20.775}, {115, 0.645, 0.98},
    {103, 0.636, 4694.003}, {102, 0.976, 15720.839}, {102, 4.267, 7.114},
    {99, 6.21, 2146.17}, {98, 0.68, 155.42}, {86, 5.98, 161000.69},
    {85, 1.3, 6275.96}, {85, 3.67, 71430.7}, {80, 1.81, 17260.15},
    {79, 3.04, 12036.46}, {75, 1.76, 5088.63}, {74, 3.5, 3154.69},
    {74, 4.68, 801.82}, {70, 0.83, 9437.76}, {62, 3.98, 8827.39},
    {61, 1.82, 7084.9}, {57, 2.78, 6286.6}, {56, 4.39, 14143.5},
    {56, 3.47, 6279.55}, {52, 0.19, 12139.55}, {52, 1.33, 1748.02},
    {51, 0.28, 5856.48}, {49, 0.49, 1194.45}, {41, 5.37, 8429.24},
    {41, 2.4, 19651.05}, {39, 6.17, 10447.39}, {37, 6.04, 10213.29},
    {37, 2.57, 1059.38}, {36, 1.71, 2352.87}, {36, 1.78, 6812.77},
    {33, 0.59, 17789.85}, {30, 0.44, 83996.85}, {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};
constexpr Term kL1[] = {
    {628331966747, 0, 0}, {206059, 2.678235, 6283.07585}, {4303, 2.6351, 12566.1517},
    {425, 1.59, 3.523}, {119, 5.796, 26.298}, {109, 2.966, 1577.344},
    {93, 2.59, 18849.23}, {72, 1.14, 529.69}, {68, 1.87, 398.15},
    {67, 4.41, 5507.55}, {59, 2.89, 5223.69}, {56, 2.17, 155.42},
    {45, 0.4, 796.3}, {36, 0.47, 775.52}, {29, 2.65, 7.11},
    {21, 5.34, 0.98}, {19, 1.85, 5486.78}, {19, 4.97, 213.3},
    {17, 2.99, 6275.96}, {16, 0.03, 2544.31}, {16, 1.43, 2146.17},
    {15, 1.21, 10977.08}, {12, 2.83, 1748.02}, {12, 3.26, 5088.63},
    {12, 5.27, 1194.45}, {12, 2.08, 4694.0}, {11, 0.77, 553.57},
    {10, 1.3, 6286.6}, {10, 4.24, 1349.87}, {9, 2.7, 242.73},
    {9, 5.64, 951.72}, {8, 5.3, 2352.87}, {6, 2.65, 9437.76},
    {6, 4.67, 4690.48},
};
constexpr Term kL2[] = {
    {52919, 0, 0}, {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.3}, {16, 3.68, 155.42}, {10, 0.76, 18849.23}, {9, 2.06, 77713.77},
    {7, 0.83, 775.52}, {5, 4.66, 1577.34}, {4, 1.03, 7.11}, {4, 3.44, 5573.14},
    {3, 5.14, 796.3}, {3, 6.05, 5507.55}, {3, 1.19, 242.73}, {3, 6.12, 529.69},
    {3, 0.31, 398.15}, {3, 2.28, 553.57}, {2, 4.38, 5223.69}, {2, 3.75, 0.98},
};
constexpr Term kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0}, {17, 5.49, 12566.15}, {3, 5.2, 155.42},
    {1, 4.72, 3.52}, {1, 5.3, 18849.23}, {1, 5.97, 242.73},
};
constexpr Term kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Term kL5[] = {{1, 3.14, 0}};

// The radius vector only scales the aberration (20.5"), so its leading
// terms are plenty: the rest moves the longitude by far less than 0.001".
constexpr Term kR0[] = {
    {100013989, 0, 0}, {1670700, 3.0984635, 6283.07585}, {13956, 3.05525, 12566.1517},
    {3084, 5.1985, 77713.7715}, {1628, 1.1739, 5753.3849}, {1576, 2.8469, 7860.4194},
};
constexpr Term kR1[] = {{103019, 1.10749, 6283.07585}, {1721, 1.0644, 12566.1517}};
constexpr Term kR2[] = {{4359, 5.7846, 6283.0758}};

template <int N>
double series(const Term (&terms)[N], double tau) {
  double sum = 0;
  for (const Term& term : terms) sum += term.amplitude * std::cos(term.phase + term.frequency * tau);
  return sum;
}

// Nutation in longitude (IAU 1980): multipliers of D, M, M', F and Omega,
// and the coefficient in 0.0001" with its change per Julian century.
struct NutationTerm {
  signed char d, m, mp, f, omega;
  double coefficient, perCentury;
};

constexpr NutationTerm kNutation[] = {
    {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},       {0, 1, 0, 0, 0, 1426, -3.4},    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},      {0, 0, 0, 2, 1, -386, -0.4},    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},     {-2, 0, 1, 0, 0, -158, 0},      {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},         {2, 0, 0, 0, 0, 63, 0},         {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},         {0, 0, -1, 0, 1, -58, -0.1},    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},          {0, 0, -2, 2, 1, 46, 0},        {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},          {0, 0, 2, 0, 0, 29, 0},         {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},           {-2, 0, 0, 2, 0, -22, 0},       {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},        {2, 0, -1, 0, 1, 16, 0},        {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},          {-2, 0, 1, 0, 1, -13, 0},       {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},          {2, 0, -1, 2, 1, -10, 0},       {2, 0, 1, 2, 2, -8, 0},
    {0, 1, 0, 2, 2, 7, 0},            {-2, 1, 1, 0, 0, -7, 0},        {0, -1, 0, 2, 2, -7, 0},
    {2, 0, 0, 2, 1, -7, 0},           {2, 0, 1, 0, 0, 6, 0},          {-2, 0, 2, 2, 2, 6, 0},
    {-2, 0, 1, 2, 1, 6, 0},           {2, 0, -2, 0, 1, -6, 0},        {2, 0, 0, 0, 1, -6, 0},
    {0, -1, 1, 0, 0, 5, 0},           {-2, -1, 0, 2, 1, -5, 0},       {-2, 0, 0, 0, 1, -5, 0},
    {0, 0, 2, 2, 1, -5, 0},           {-2, 0, 2, 0, 1, 4, 0},         {-2, 1, 0, 2, 1, 4, 0},
    {0, 0, 1, -2, 0, 4, 0},           {-1, 0, 1, 0, 0, -4, 0},        {-2, 1, 0, 0, 0, -4, 0},
    {1, 0, 0, 0, 0, -4, 0},           {0, 0, 1, 2, 0, 3, 0},          {0, 0, -2, 2, 2, -3, 0},
    {-1, -1, 1, 0, 0, -3, 0},         {0, 1, 1, 0, 0, -3, 0},         {0, -1, 1, 2, 2, -3, 0},
    {2, -1, -1, 2, 2, -3, 0},         {0, 0, 3, 2, 2, -3, 0},         {2, -1, 0, 2, 2, -3, 0},
};

// Nutation in longitude in degrees, T in Julian centuries from J2000 (TT).
double nutationInLongitude(double t) {
  const double t2 = t * t, t3 = t2 * t;
  const double d = 297.85036 + 445267.111480 * t - 0.0019142 * t2 + t3 / 189474;
  const double m = 357.52772 + 35999.050340 * t - 0.0001603 * t2 - t3 / 300000;
  const double mp = 134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250;
  const double f = 93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270;
  const double omega = 125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000;
  double sum = 0;
  for (const NutationTerm& term : kNutation) {
    double argument = term.d * d + term.m * m + term.mp * mp + term.f * f + term.omega * omega;
    sum += (term.coefficient + term.perCentury * t) * sinDeg(argument);
  }
  return sum / 36000000.0;
}

}  // namespace

double deltaTSeconds(double year) {
  if (year < 1920) {
    const double t = year - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
  }
  if (year < 1941) {
    const double t = year - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (year < 1961) {
    const double t = year - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  if (year < 1986) {
    const double t = year - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
  }
  if (year < 2005) {
    const double t = year - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * t * t * t * t +
           0.00002373599 * t * t * t * t * t;
  }
  if (year < 2050) {
    const double t = year - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  const double u = (year - 1820) / 100;
  if (year < 2150) return -20 + 32 * u * u - 0.5628 * (2150 - year);
  return -20 + 32 * u * u;
}

double newMoonTT(int k) { return newMoonTTOf(k); }

double apparentSolarLongitude(double julianDayTT) {
  const double tau = (julianDayTT - kJ2000) / 365250.0;  // Julian millennia
  const double t = tau * 10;                              // Julian centuries
  const double l = (series(kL0, tau) +
                    tau * (series(kL1, tau) +
                           tau * (series(kL2, tau) +
                                  tau * (series(kL3, tau) + tau * (series(kL4, tau) + tau * series(kL5, tau)))))) /
                   1e8;
  const double r = (series(kR0, tau) + tau * (series(kR1, tau) + tau * series(kR2, tau))) / 1e8;
  // Geocentric, in the FK5 frame (-0.09033"), then nutation and aberration.
  double longitude = l / kDegree + 180.0 - 0.09033 / 3600.0;
  longitude += nutationInLongitude(t) - 20.4898 / 3600.0 / r;
  return normalizedDegrees(longitude);
}

double approximateSolarLongitude(double julianDayTT) {
  const double t = (julianDayTT - kJ2000) / 36525.0;
  const double meanLongitude = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
  const double anomaly = 357.52911 + 35999.05029 * t - 0.0001537 * t * t;
  const double centre = (1.914602 - 0.004817 * t - 0.000014 * t * t) * sinDeg(anomaly) +
                        (0.019993 - 0.000101 * t) * sinDeg(2 * anomaly) + 0.000289 * sinDeg(3 * anomaly);
  const double omega = 125.04 - 1934.136 * t;
  return normalizedDegrees(meanLongitude + centre - 0.00569 - 0.00478 * sinDeg(omega));
}

#pragma once

// The generator's own transcendental functions. The C library picks a variant of sin, cos, atan2,
// exp, log or pow by the processor (with or without fused multiply-add), and the variants differ in
// the last bit now and then; a draft check that sits on such a bit turns one circuit number into two
// circuits on two machines. These use only +, -, *, / and sqrt, each rounded once, in a fixed order
// (the library is compiled with -ffp-contract=off), so they give the same bits on every machine.
// They are accurate to a few units in the last place (angles within a few thousand radians).
namespace portable {

double sin(double radians);
double cos(double radians);
double tan(double radians);
double atan(double x);
double atan2(double y, double x);
double asin(double x);
double acos(double x);
double exp(double x);
double log(double x);
double pow(double x, double y);
// sqrt(x * x + y * y) without the library's hypot: lengths here are far from overflow.
double hypot(double x, double y);

}  // namespace portable

// How the platform shows a Single or a Double as text (CStr): rounded to
// `significant` digits (7 for a Single, 15 for a Double), trailing zeros
// dropped, in plain notation while every digit fits in that many places on
// its side of the point, else in scientific notation with a signed
// exponent of at least two digits: 1E+15, 0.00001, 1.99999997764826E-02.
// Rounding to 15 digits is why 919.9999999999999 shows as 920. Independent
// of the process locale: the decimal point is always ".".
#pragma once

#include <string>


namespace vb::detail {

std::string FloatText(double value, int significant);

}  // namespace vb::detail

// Written by tools/calibrate from 1056 cases (803 right): the
// weights of the logistic model that turns the features of identify's
// first chain into the chance that it is right. The features:
//   reading ahead of nothing
//   ahead of the next chain
//   per letter
//   ln(1 + letters)
//   ciphers of all bytes
//   ciphers of letters
//   keyless decodings
#ifndef ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_
#define ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

#include <array>

namespace analysis::calibration {

// The bias, then one weight per feature.
inline constexpr std::array<double, 8> kWeights = {0.939069, 0.123899, 0.0706182, 1.2024, -1.16223, -3.57657, 0.54833, -0.167138};

}  // namespace analysis::calibration

#endif  // ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

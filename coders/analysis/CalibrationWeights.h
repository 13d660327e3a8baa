// Written by tools/calibrate from 3120 cases (2886 right): the
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
inline constexpr std::array<double, 8> kWeights = {0.702987, 0.0759358, 0.00169784, 3.9664, -0.536905, -1.01623, -1.78626, 0.262759};

}  // namespace analysis::calibration

#endif  // ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

// Written by tools/calibrate from 1056 cases (815 right): the
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
inline constexpr std::array<double, 8> kWeights = {1.5221,   0.0761263, 0.0364256, 1.91473,
                                                   -1.48859, -0.944268, 0.130061,  -0.394323};

}  // namespace analysis::calibration

#endif  // ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

// Written by tools/calibrate from 1056 cases (809 right): the
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
inline constexpr std::array<double, 8> kWeights = {1.79608, 0.136041, 0.0750334, 1.66395, -1.55844, -2.81086, 0.565857, -0.134925};

}  // namespace analysis::calibration

#endif  // ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

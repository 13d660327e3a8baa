// Written by tools/calibrate from 1584 cases (1368 right): the
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
inline constexpr std::array<double, 8> kWeights = {3.55571,  0.0572365, 0.0506497, 2.06978,
                                                   -1.61222, -1.45794,  -0.905479, -0.380119};

}  // namespace analysis::calibration

#endif  // ZEMBRAX_CODERS_ANALYSIS_CALIBRATIONWEIGHTS_H_

#include "calibration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace radcon {
namespace {

std::string printed(const ConstantSet& set) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  print_set(out, set);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

TEST(CalibrationConstants, ThreeSetLines) {
  const auto sets = compute_sets(compute_terms());
  EXPECT_EQ(printed(sets[0]), "### H_const= 146.1088  V_const= 146.1840  F_const= 145.1772\n");
  EXPECT_EQ(printed(sets[1]), "### H_const= -53.8912  V_const= -53.8160  F_const= -52.7528\n");
  EXPECT_EQ(printed(sets[2]), "### H_const=  57.8376  V_const=  57.9127  F_const=  56.9060\n");
}

TEST(CalibrationConstants, TermsOfTheRadarEquation) {
  const RadarTerms t = compute_terms();
  EXPECT_NEAR(t.radar_constant_db, 19.6584, 5e-5);
  EXPECT_NEAR(t.dielectric_db, -0.4576, 5e-5);
  EXPECT_NEAR(t.fixed_term_db, 24.7712, 5e-5);
  EXPECT_NEAR(t.beam_db[0], -18.6497, 5e-5);
  EXPECT_NEAR(t.beam_db[1], -18.3248, 5e-5);
  EXPECT_NEAR(t.beam_db[2], -18.5881, 5e-5);
  EXPECT_EQ(kWavelengthM, 1.0 / 46.0);
}

TEST(CalibrationConstants, SetsDifferByLevelAndOffset) {
  const RadarTerms t = compute_terms();
  const auto sets = compute_sets(t);
  const double o_plus_r = kThirdSetOffsetDb + t.fixed_term_db;
  const double set1[] = {sets[0].H_const, sets[0].V_const, sets[0].F_const};
  const double set2[] = {sets[1].H_const, sets[1].V_const, sets[1].F_const};
  const double set3[] = {sets[2].H_const, sets[2].V_const, sets[2].F_const};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(set1[i] - set2[i], kChannels[i].reference_level_db, 1e-9) << kChannels[i].name;
    EXPECT_NEAR(set1[i] - set3[i], o_plus_r, 1e-9) << kChannels[i].name;
  }
}

}  // namespace
}  // namespace radcon

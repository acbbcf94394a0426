#include "count_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calibration.h"

namespace radcon {
namespace {

std::vector<std::string> table_lines() {
  const auto sets = compute_sets(compute_terms());
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  print_table(out, sets[2].H_const, sets[2].F_const);
  std::fclose(out);
  std::istringstream text(std::string(data, size));
  std::free(data);
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

TEST(CountTable, RowsAtTheFitBoundaryAndEnds) {
  const auto lines = table_lines();
  ASSERT_EQ(lines.size(), 410U);
  EXPECT_EQ(lines[0], " i=   0  rrm= 5.0 km | xzhh= -25.53( 23.05)  xzff=   1.15( 23.63)");
  EXPECT_EQ(lines[40], " i= 400  rrm= 5.0 km | xzhh=  31.52( 31.93)  xzff=  32.33( 32.46)");
  EXPECT_EQ(lines[41], " i= 410  rrm= 5.0 km | xzhh=  32.15(  0.00)  xzff=  32.68(  0.00)");
  EXPECT_EQ(lines[409], " i=4090  rrm= 5.0 km | xzhh= 113.78(  0.00)  xzff= 113.89(  0.00)");
}

TEST(CountTable, CountsRunInStepsOfTenWithBracketsOnlyUpToTheThreshold) {
  const auto lines = table_lines();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    char label[48];
    std::snprintf(label, sizeof label, " i=%4zu  rrm= 5.0 km |", k * 10);
    EXPECT_EQ(lines[k].substr(0, 22), label);
    const bool linear_shown = k * 10 <= 400;
    EXPECT_EQ(lines[k].find("(  0.00)") == std::string::npos, linear_shown) << lines[k];
  }
}

TEST(CountTable, ValuesAreRoundedToFloatEach) {
  const auto sets = compute_sets(compute_terms());
  const CountRow row = compute_row(1230, 1, sets[2].H_const, sets[2].F_const);
  const double exact = 1230.0 * 0.0221829 + (-108.765) + 20.0 * std::log10(5000.0) +
                       sets[2].H_const;
  EXPECT_EQ(row.xzhh, static_cast<float>(exact));
  EXPECT_EQ(row.xzhh_linear, 0.0F);
  EXPECT_EQ(row.range_km, static_cast<double>(5000.0F) * 0.001);
}

}  // namespace
}  // namespace radcon

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "particles.hpp"
#include "sedimentation/sedimentation.h"

namespace {

/* A distribution of tests/splits.tsv (its head says what each field
 * holds), with the split it must give. */
struct Split {
	std::vector<std::string> fields;
};

void PrintTo(const Split &s, std::ostream *os)
{
	*os << s.fields[0] << " / " << s.fields[1];
}

std::vector<Split> splits()
{
	std::vector<Split> table;
	for (std::vector<std::string> &row : table_rows(ABSINK_SPLITS, 10))
		table.push_back({row});
	return table;
}

/* A field's numbers, each read decimal to double to float. */
std::vector<float> numbers(const std::string &field)
{
	std::vector<float> out;
	std::istringstream words(field);
	for (std::string w; words >> w;)
		out.push_back(static_cast<float>(std::strtod(w.c_str(), nullptr)));
	return out;
}

/* Values printed as the table gives them, "nan" for NaN. */
std::string printed(const float *v, int n, int decimals)
{
	std::string out;
	for (int k = 0; k < n; k++) {
		char buf[32];
		if (v[k] != v[k])
			std::snprintf(buf, sizeof buf, "nan");
		else
			std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v[k]));
		if (k != 0)
			out += ' ';
		out += buf;
	}
	return out;
}

const char *const statuses[] = {"ok",          "too_few",        "too_many", "unequal",    "bad_size",
				"bad_percent", "duplicate_size", "falling",  "bad_density"};

class Splits : public testing::TestWithParam<Split> {};

TEST_P(Splits, AsWorkedOut)
{
	const std::vector<std::string> &f = GetParam().fields;
	const std::vector<float> sizes = numbers(f[0]);
	const std::vector<float> values = numbers(f[1]);
	const sedimentation_split s = sedimentation_class_split(
		sizes.data(), static_cast<int>(sizes.size()), values.data(), static_cast<int>(values.size()),
		numbers(f[2])[0], f[3] == "1" ? 1 : 0);
	EXPECT_STREQ(statuses[s.status], f[4].c_str());
	EXPECT_EQ(std::to_string(s.index), f[5]);
	EXPECT_EQ(printed(s.limits, 3, 4), f[6]);
	EXPECT_EQ(printed(s.fractions, 4, 2), f[7]);
	EXPECT_EQ(printed(s.low, 4, 2), f[8]);
	EXPECT_EQ(printed(s.high, 4, 2), f[9]);
	EXPECT_EQ(sedimentation_split_message(s.status)[0] == '\0', s.status == SEDIMENTATION_SPLIT_OK);
}

INSTANTIATE_TEST_SUITE_P(Distributions, Splits, testing::ValuesIn(splits()));

} // namespace

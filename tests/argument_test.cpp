#include <cfloat>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "app/argument.hpp"
#include "printable.hpp"

namespace {

/* end < 0: where reading stopped, and why it failed, are not checked. */
struct Case {
	const char *text;
	float value;
	int end = -1;
	argument_fault fault = argument_fault::none;
};

void PrintTo(const Case &c, std::ostream *os)
{
	*os << '"' << printable(c.text) << '"';
}

class Converts : public testing::TestWithParam<Case> {};

TEST_P(Converts, ToExpectedFloat)
{
	const Case &c = GetParam();
	EXPECT_EQ(convert_argument(c.text), c.value) << "text: \"" << c.text << '"';
	if (c.end >= 0) {
		const argument_reading r = read_argument(c.text);
		EXPECT_EQ(r.end, static_cast<std::size_t>(c.end)) << "text: \"" << c.text << '"';
		EXPECT_EQ(r.fault, c.fault) << "text: \"" << c.text << '"';
	}
}

INSTANTIATE_TEST_SUITE_P(
	Cases, Converts,
	testing::Values(
		/* accepted */
		Case{"100", 100.0F}, Case{"+5", 5.0F}, Case{"-5", -5.0F}, Case{".5", 0.5F}, Case{"5.", 5.0F},
		Case{"-.25", -0.25F}, Case{" \t\n\v\f\r12", 12.0F}, Case{"1e3", 1000.0F},
		/* white space, then the sign */
		Case{" +5", 5.0F}, Case{"\t\r-5", -5.0F}, Case{"1E+3", 1000.0F}, Case{"25e-1", 2.5F},
		Case{"1.e2", 100.0F}, Case{"0.1", 0.1F}, Case{"007", 7.0F},

		/* read up to the first character that does not fit */
		Case{"12abc", 12.0F, 2}, Case{"1,5", 1.0F, 1}, Case{" 2,65 ", 2.0F, 2}, Case{"7 ", 7.0F, 1},
		/* no hexadecimal: the number is the 0 before the x */
		Case{"0x10", 0.0F, 1}, Case{"0X.8", 0.0F}, Case{"-0x1p3", 0.0F}, Case{"1.5.3", 1.5F},
		Case{"1e3e4", 1000.0F, 3}, Case{"12 34", 12.0F}, Case{"12\x01", 12.0F},
		Case{"3\xc2\xb5m", 3.0F},
		/* a trailing exponent marker, with or without sign, is dropped */
		Case{"1e", 1.0F, 1}, Case{"1E+", 1.0F}, Case{"2e-", 2.0F},

		/* not converted: 0 */
		Case{"", 0.0F, 0, argument_fault::no_digits}, Case{"   ", 0.0F},
		Case{"abc", 0.0F, 0, argument_fault::no_digits},
		Case{"-,5", 0.0F, 1, argument_fault::no_digits}, Case{"-", 0.0F}, Case{"+", 0.0F},
		Case{".", 0.0F}, Case{"-.", 0.0F}, Case{"+-1", 0.0F}, Case{"e5", 0.0F}, Case{"inf", 0.0F},
		Case{"INFINITY", 0.0F}, Case{"nan", 0.0F}, Case{"1ex", 0.0F, 2, argument_fault::bad_exponent},
		Case{"1e+x", 0.0F, 3, argument_fault::bad_exponent}, Case{"1E-.", 0.0F}, Case{"1e 5", 0.0F},
		/* control bytes other than \t \n \v \f \r are no white space (octal
		 * escapes: 001, 010, 016, 037, then the digit 5) */
		Case{"\0015", 0.0F}, Case{"\0105", 0.0F}, Case{"\0165", 0.0F}, Case{"\0375", 0.0F},
		/* fullwidth digit one, and bytes that are no UTF-8 */
		Case{"\xef\xbc\x91", 0.0F}, Case{"\xff\xfe", 0.0F},

		/* decimal to double, then double to float: both steps round.
		 * Here the double is the float tie 1024 + 2^-14, which goes to
		 * even. */
		Case{"1024.00006103515625000000000001", 1024.0F},
		/* 1024 + 2^-14 + 2^-43: the midpoint of two doubles, ties to the
		 * even one, 1024 + 2^-14, again the float tie */
		Case{"1024.0000610351563636868377216160297393798828125", 1024.0F},

		/* at the edges of float's normal range; beyond them 0 */
		Case{"1.1754943508222875e-38", FLT_MIN}, Case{"1.1754943e-38", 0.0F}, Case{"1e-39", 0.0F},
		Case{"1e-50", 0.0F, 5, argument_fault::too_small},
		Case{"1e-400", 0.0F, 6, argument_fault::too_small}, Case{"-0.0e-400", 0.0F, 9},
		Case{"3.4028235e38", FLT_MAX},
		/* above FLT_MAX but below the midpoint to 2^128: rounds down */
		Case{"3.40282356e38", FLT_MAX}, Case{"3.4028236e38", 0.0F},
		Case{"1e39x", 0.0F, 4, argument_fault::too_large},
		/* the exact midpoint ties to the even 2^128: infinity, 0; one
		 * less rounds to that same double first; the double below reads
		 * as FLT_MAX */
		Case{"340282356779733661637539395458142568448", 0.0F},
		Case{"340282356779733661637539395458142568447", 0.0F},
		Case{"340282356779733623858607532500980858880", FLT_MAX}, Case{"-1e39", 0.0F},
		Case{"1e400", 0.0F}, Case{"1234567890123456789012345678901234567890", 0.0F}));

TEST(ConvertArgument, ReadsArbitrarilyLongText)
{
	EXPECT_EQ(convert_argument((std::string(100000, '0') + "12.5").c_str()), 12.5F);
	EXPECT_EQ(convert_argument(("12.5" + std::string(100000, '0')).c_str()), 12.5F);
	/* 0.(5000 zeros)1e5003 is 100 */
	EXPECT_EQ(convert_argument(("0." + std::string(5000, '0') + "1e5003").c_str()), 100.0F);

	/* Just above the double midpoint of the case above, 800 digits out:
	 * the double rounds up, past the float tie, so the float rounds up. */
	const std::string above =
		"1024.0000610351563636868377216160297393798828125" + std::string(800, '0') + "1";
	EXPECT_EQ(convert_argument(above.c_str()), 1024.0001220703125F);
}

} // namespace

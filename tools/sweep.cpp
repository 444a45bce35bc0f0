/*
 * sweep: the model over every positive finite float diameter, as this
 * platform's build of the library computes it, folded into digests that
 * another platform's can be compared with (tools/sweep-compare).
 *
 *	sweep [plant D] DENSITY STRIDE FIRST LAST	the digests of blocks FIRST to LAST
 *	sweep [plant D] DENSITY STRIDE BLOCK list	each input of the block, and its results
 *	sweep last					the last block's number
 *
 * The diameters are the floats whose bit patterns are 1 + j STRIDE, j = 0,
 * 1, ..., up to FLT_MAX (0x7f7fffff): with STRIDE 1 all 2,139,095,039 of
 * them, from the smallest subnormal on.  A block is 2^22 consecutive bit
 * patterns, block b those from b 2^22 on: 510 blocks in all (0 to 509).
 * DENSITY is read as absink reads an argument, decimal to double to float.
 *
 * For each block a line "density block digest count": the density as
 * "%a", the block, the digest in hexadecimal and the number of diameters
 * in it.  The digest is FNV-1a (64 bits) over the bytes of w, Nre and vs
 * of each diameter in turn, as sedimentation_compute gives them: a change
 * of any one bit of any result changes it, for FNV-1a's step (xor a byte,
 * multiply by an odd prime) maps the state one to one.  The list gives a
 * line "d w Nre vs" for each diameter, each in "%a", which names the float
 * exactly (C libraries may write the same value with other digits: read
 * it as a number).
 *
 * "plant D" (as the list gives it, "%a") changes the velocity of the
 * diameter D by one unit in its last place, as a platform whose library
 * differed there would: for the test of the comparison.
 *
 * Where long double is x87's 80-bit format (x86),
 *
 *	sweep x87 DENSITY
 *
 * lists the diameters whose w an evaluation of ((d 4.991e-5) d) d rho in
 * x87 long double rounds to another float than the library's in double,
 * which the procedure allows as well, each with the report's w, Nre and vs
 * of both evaluations ("%.4f", as absink prints them), and counts them.
 *
 * Not installed; no part of absink.
 */
#include <algorithm>
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "sedimentation/model.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"

namespace {

constexpr std::uint32_t block_bits = 22;
constexpr std::uint32_t largest = 0x7f7fffffU; /* FLT_MAX */
constexpr std::uint32_t blocks = (largest >> block_bits) + 1;

[[noreturn]] void usage()
{
	std::puts("usage: sweep [plant D] DENSITY STRIDE FIRST LAST\n"
		  "       sweep [plant D] DENSITY STRIDE BLOCK list\n"
		  "       sweep last");
	std::exit(2);
}

/* A whole number of the command line, or the usage. */
std::uint32_t number(const char *text)
{
	char *end = nullptr;
	const unsigned long long n = std::strtoull(text, &end, 10);
	if (end == text || *end != '\0' || n > UINT32_MAX)
		usage();
	return static_cast<std::uint32_t>(n);
}

/* The results of one diameter; the planted one's velocity one unit in the
 * last place larger. */
sedimentation_result results(std::uint32_t bits, float density, bool planted, std::uint32_t plant)
{
	sedimentation_result r = sedimentation_compute(float_of_bits(bits), density);
	if (planted && bits == plant)
		r.velocity = float_of_bits(float_bits(r.velocity) + 1);
	return r;
}

/* The first pattern 1 + j stride at or after from. */
std::uint64_t first_at(std::uint64_t from, std::uint32_t stride)
{
	return from <= 1 ? 1 : 1 + (from - 1 + stride - 1) / stride * stride;
}

#if LDBL_MANT_DIG == 64
/* w's product, ((d c) d) d rho, in x87 long double. */
long double x87_product(float d, float rho)
{
	return static_cast<long double>(d) * best_factor * d * d * rho;
}

/* The model with every intermediate in x87 long double: the same steps,
 * factors and roundings to float as the library's (model.cpp), only wider
 * between them. */
sedimentation_result x87(float d, float rho)
{
	const long double product = x87_product(d, rho);
	/* Rounded to float at once, not through double; beyond float's range
	 * as the library rounds it (to_single). */
	const float w =
		product <= FLT_MAX ? static_cast<float>(product) : to_single(static_cast<double>(product));
	float nre = 0;
	if (product < stokes_limit) {
		nre = static_cast<float>(static_cast<long double>(w) * stokes_factor);
	} else {
		const auto x = static_cast<float>(logl(product));
		long double y = beard[6];
		for (int k = 5; k >= 0; k--)
			y = y * x + beard[k];
		nre = static_cast<float>(expl(y));
	}
	return {w, nre, static_cast<float>(static_cast<long double>(nre) * velocity_factor / d)};
}

/* The diameters whose w x87 rounds otherwise, with both reports. */
int x87_sweep(float density)
{
	std::uint64_t differ = 0;
	std::uint64_t printed = 0;
	for (std::uint32_t bits = 1; bits <= largest; bits++) {
		const float d = float_of_bits(bits);
		const long double product = x87_product(d, density);
		const sedimentation_result ours = sedimentation_compute(d, density);
		if (product > FLT_MAX || static_cast<float>(product) == ours.best_number)
			continue;
		differ++;
		const sedimentation_result theirs = x87(d, density);
		char line[2][160];
		for (int k = 0; k < 2; k++) {
			const sedimentation_result &r = k == 0 ? ours : theirs;
			std::snprintf(
				line[k], sizeof line[k], "%.4f %.4f %.4f", static_cast<double>(r.best_number),
				static_cast<double>(r.reynolds_number), static_cast<double>(r.velocity));
		}
		const bool other = std::strcmp(line[0], line[1]) != 0;
		printed += other ? 1 : 0;
		std::printf(
			"d %.9g (%a): %s in double, %s in x87%s\n", static_cast<double>(d),
			static_cast<double>(d), line[0], line[1], other ? "  OTHER DIGITS" : "");
	}
	std::printf(
		"%" PRIu64 " diameters at the density %g round w otherwise in x87, %" PRIu64
		" of them print other digits\n",
		differ, static_cast<double>(density), printed);
	return 0;
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#if LDBL_MANT_DIG == 64
	if (argc == 3 && std::strcmp(argv[1], "x87") == 0)
		return x87_sweep(static_cast<float>(std::strtod(argv[2], nullptr)));
#endif
	if (argc == 2 && std::strcmp(argv[1], "last") == 0)
		return std::printf("%" PRIu32 "\n", blocks - 1) > 0 ? 0 : 1;
	const bool planted = argc == 7;
	if (planted && std::strcmp(argv[1], "plant") != 0)
		usage();
	const std::uint32_t plant = planted ? float_bits(to_single(std::strtod(argv[2], nullptr))) : 0;
	if (planted)
		argv += 2;
	else if (argc != 5)
		usage();
	const double wide = std::strtod(argv[1], nullptr);
	if (!(wide > 0 && wide <= FLT_MAX))
		usage();
	const auto density = static_cast<float>(wide);
	const std::uint32_t stride = number(argv[2]);
	const bool list = std::strcmp(argv[4], "list") == 0;
	const std::uint32_t first = number(argv[3]);
	const std::uint32_t last = list ? first : number(argv[4]);
	if (stride == 0 || first > last || last >= blocks)
		usage();

	for (std::uint32_t block = first; block <= last; block++) {
		const std::uint64_t end =
			std::min<std::uint64_t>((std::uint64_t{block} + 1) << block_bits, largest + 1ULL);
		std::uint64_t digest = 0xcbf29ce484222325ULL; /* FNV-1a's offset basis */
		std::uint32_t count = 0;
		for (std::uint64_t bits = first_at(std::uint64_t{block} << block_bits, stride); bits < end;
		     bits += stride) {
			const auto b = static_cast<std::uint32_t>(bits);
			const sedimentation_result r = results(b, density, planted, plant);
			count++;
			if (list) {
				std::printf(
					"%a %a %a %a\n", static_cast<double>(float_of_bits(b)),
					static_cast<double>(r.best_number),
					static_cast<double>(r.reynolds_number),
					static_cast<double>(r.velocity));
				continue;
			}
			/* Each word's bytes from the lowest, on any platform. */
			for (const std::uint32_t word :
			     {float_bits(r.best_number), float_bits(r.reynolds_number),
			      float_bits(r.velocity)}) {
				for (int shift = 0; shift < 32; shift += 8) {
					digest ^= (word >> shift) & 0xffU;
					digest *= 0x100000001b3ULL; /* FNV's 64-bit prime */
				}
			}
		}
		if (!list)
			std::printf(
				"%a %" PRIu32 " %016" PRIx64 " %" PRIu32 "\n", static_cast<double>(density),
				block, digest, count);
	}
	return std::fflush(stdout) == 0 ? 0 : 1;
}

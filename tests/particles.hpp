#ifndef ABSINK_TESTS_PARTICLES_HPP
#define ABSINK_TESTS_PARTICLES_HPP

/*
 * The test particles of tests/particles.tsv (its head says what each
 * column holds), for the C++ tests: ABSINK_PARTICLES names the file as the
 * test program sees it.  An unreadable or malformed table ends the test
 * program at once, before a test runs, rather than leaving a suite with no
 * case that passes for want of one.
 */
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

struct Particle {
	std::string d, rho, w, nre, vs, shown, verdict, da, size_class;
};

inline void PrintTo(const Particle &p, std::ostream *os)
{
	*os << p.d << ' ' << p.rho;
}

inline std::vector<Particle> particles()
{
	std::vector<Particle> table;
	std::FILE *f = std::fopen(ABSINK_PARTICLES, "r");
	if (f == nullptr) {
		std::fprintf(stderr, "cannot read %s\n", ABSINK_PARTICLES);
		std::exit(1);
	}
	char line[512];
	while (std::fgets(line, sizeof line, f) != nullptr) {
		if (line[0] == '#' || line[0] == '\n')
			continue;
		std::vector<std::string> fields(1);
		for (const char *p = line; *p != '\0' && *p != '\n' && *p != '\r'; p++) {
			if (*p == '\t')
				fields.emplace_back();
			else
				fields.back() += *p;
		}
		if (fields.size() != 9) {
			std::fprintf(stderr, "%s: not nine fields: %s", ABSINK_PARTICLES, line);
			std::exit(1);
		}
		table.push_back(
			{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6],
			 fields[7], fields[8]});
	}
	std::fclose(f);
	if (table.empty()) {
		std::fprintf(stderr, "%s: no particle\n", ABSINK_PARTICLES);
		std::exit(1);
	}
	return table;
}

#endif

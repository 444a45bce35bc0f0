#ifndef ABSINK_TESTS_PARTICLES_HPP
#define ABSINK_TESTS_PARTICLES_HPP

/*
 * The test particles of tests/particles.tsv (its head says what each
 * column holds), for the C++ tests: ABSINK_PARTICLES names the file as the
 * test program sees it; and the reader of the tests' other tables.  An unreadable or malformed table ends the
 * test program at once, before a test runs, rather than leaving a suite with no case that passes for want of
 * one.
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

/* The rows of a tab-separated table of the tests, each with the number
 * of fields given; lines that begin with # are comments.  An unreadable
 * or malformed table, or one without a row, ends the test program. */
inline std::vector<std::vector<std::string>> table_rows(const char *path, std::size_t fields)
{
	std::vector<std::vector<std::string>> table;
	std::FILE *f = std::fopen(path, "r");
	if (f == nullptr) {
		std::fprintf(stderr, "cannot read %s\n", path);
		std::exit(1);
	}
	char line[2048];
	while (std::fgets(line, sizeof line, f) != nullptr) {
		if (line[0] == '#' || line[0] == '\n')
			continue;
		std::vector<std::string> row(1);
		for (const char *p = line; *p != '\0' && *p != '\n' && *p != '\r'; p++) {
			if (*p == '\t')
				row.emplace_back();
			else
				row.back() += *p;
		}
		if (row.size() != fields) {
			std::fprintf(stderr, "%s: not %zu fields: %s", path, fields, line);
			std::exit(1);
		}
		table.push_back(row);
	}
	std::fclose(f);
	if (table.empty()) {
		std::fprintf(stderr, "%s: no row\n", path);
		std::exit(1);
	}
	return table;
}

inline std::vector<Particle> particles()
{
	std::vector<Particle> table;
	for (const std::vector<std::string> &f : table_rows(ABSINK_PARTICLES, 9))
		table.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
	return table;
}

#endif

#ifndef ABSINK_WEB_EXPLAIN_HPP
#define ABSINK_WEB_EXPLAIN_HPP

/*
 * The web page's words on a particle's result: the sentence beside the
 * report, the brief one for screen readers, a table row's reason and the
 * record's steps, each rule worded once (rule_words) for all of them.
 */
#include "app/report.hpp"

/* A number of the model as the sentences name it, in the fewest digits
 * that give it back: "0.24", "300", "0.041666668", or below 10^-3 and
 * from 10^4 on a power of ten written as Germans print it, "9.1·10⁵",
 * "4.991·10⁻⁵"; with the decimal sign given (',' for the page's German
 * prose, with its minus sign −).  A float is named by the digits of the
 * float; small is where its powers of ten begin. */
struct limit {
	char text[40];
	explicit limit(double value, char decimal = '.') : limit(value, false, decimal, 1e-3)
	{
	}
	explicit limit(float value, char decimal = '.', double small = 1e-3)
	    : limit(static_cast<double>(value), true, decimal, small)
	{
	}

      private:
	limit(double value, bool single, char decimal, double small);
};

/* Why the report gives vs = 0 or a warning, with the rule's source:
 * "weil ... (Richtlinie)"; empty where it gives vs as it is. */
void rule_words(const report_outcome &o, char (&text)[256]);

/* The sentence beside a report: the regime that gave Nre and the rule;
 * and the brief one for screen readers. */
void explain(const report_outcome &o, char (&sentence)[768], char (&brief)[1024]);

/* Why a table's row shows no velocity or 0, with the rule's source; empty
 * where it shows one. */
void reason(const report_outcome &o, char (&text)[256]);

/* One step of the record, ["term","text"], after a comma unless first. */
[[gnu::format(printf, 3, 4)]] void put_step(bool first, const char *term, const char *format, ...);

/* The particle's own computation, step by step, up to the report. */
void put_computation_steps(const report_outcome &o);

#endif

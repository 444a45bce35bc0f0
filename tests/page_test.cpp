#include <initializer_list>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "particles.hpp"
#include "printable.hpp"

extern "C" const char *absink_particle(const char *diameter, const char *density, int shown);

namespace {

constexpr int with_report = 1;
constexpr int as_line = 4;

/* What the web page reads and says, as pieces of the JSON that it gets:
 * the reading rules for German hands, the notes, the sentences with their
 * limits and sources, the steps, the command line, and escaping. */
struct Reading {
	const char *d, *rho;
	int shown;
	const char *pieces[5];
};

void PrintTo(const Reading &c, std::ostream *os)
{
	*os << '[' << printable(c.d) << "] [" << printable(c.rho) << ']';
}

class Page : public testing::TestWithParam<Reading> {};

TEST_P(Page, Says)
{
	const Reading &c = GetParam();
	const std::string json = absink_particle(c.d, c.rho, c.shown);
	for (const char *piece : c.pieces) {
		if (piece != nullptr) {
			EXPECT_NE(json.find(piece), std::string::npos) << piece << "\n in " << json;
		}
	}
}

/* Every test particle as a line of the table, with its own density: the
 * values, the aerodynamic diameter and the class as the table shows them. */
class Table : public testing::TestWithParam<Particle> {};

TEST_P(Table, ShowsTheParticle)
{
	const Particle &p = GetParam();
	const std::string line = p.d + "\t" + p.rho;
	const std::string json = absink_particle(line.c_str(), "1", 4);
	const std::string vs = p.shown == "warning" ? "" : p.shown;
	const std::string da = p.da == "nan" ? "" : p.da;
	const std::string size_class = p.size_class == "0" ? "null" : p.size_class;
	const auto joined = [](std::initializer_list<std::string> parts) {
		std::string s;
		for (const std::string &part : parts)
			s += part;
		return s;
	};
	for (const std::string &piece :
	     {joined({R"("w":")", p.w, R"(","nre":")", p.nre, R"(","vs":")", vs, "\""}),
	      joined({R"("aerodynamic":{"da":")", da, R"(","class":)", size_class, ","})}) {
		EXPECT_NE(json.find(piece), std::string::npos) << piece << "\n in " << json;
	}
}

INSTANTIATE_TEST_SUITE_P(Particles, Table, testing::ValuesIn(particles()));

/* A field's end: its fault and note, empty where the reading leaves no doubt. */
constexpr const char *rho_clean = R"("fault":"","note":""}})";

INSTANTIATE_TEST_SUITE_P(
	Readings, Page,
	testing::Values(
		/* A density is never grouped; a diameter keeps its doubt. */
		Reading{"100", "2,650", 0, {R"("rho":{"argument":"2.650")", rho_clean}},
		Reading{"100", "1.000", 0, {R"("value":"1.0000")", rho_clean}},
		Reading{"1.000", "1", 0, {"mehrdeutig: gelesen als 1; für 1000 ohne Trennzeichen eingeben"}},
		Reading{"100,000",
			"1",
			0,
			{"mehrdeutig: gelesen als 100; für 100000 ohne Trennzeichen eingeben"}},
		Reading{"1000,000", "1", 0, {R"("fault":"","note":""},"rho")"}},
		Reading{"2,500",
			"1",
			0,
			{"mehrdeutig: gelesen als 2.5; für 2500 ohne Trennzeichen eingeben"}},
		/* No doubt where only one reading is a number, or none; blanks are
		 * an empty field. */
		Reading{".500", "1", 0, {R"("fault":"","note":""},"rho")"}},
		Reading{"1.000.5",
			"1",
			0,
			{R"("fault":"","note":"gelesen: 1.000 – „.5“ nicht gelesen"},"rho")"}},
		Reading{"  \t", "1", 0, {R"("fault":"Durchmesser: leer","note":""},"rho")"}},
		Reading{"1,5e2", "1", 0, {R"("argument":"1.5e2",)", R"("fault":"","note":""},"rho")"}},
		Reading{"0,500", "1", 0, {R"("fault":"","note":""},"rho")"}},
		Reading{"1,0000", "1", 0, {R"("fault":"","note":""},"rho")"}},
		/* Both separators in groups of three: one reading. */
		Reading{"1.000,5",
			"1",
			with_report,
			{R"("argument":"1000.5")",
			 "gelesen als 1000.5, mit „,“ als Dezimalzeichen und „.“ zwischen Tausendern",
			 R"("command":"absink 1000.5 1")"}},
		Reading{"1,000.5", "1", 0, {R"("argument":"1000.5")", "mit „.“ als Dezimalzeichen und „,“"}},
		Reading{"-12.345.678,9x",
			"1",
			0,
			{R"("argument":"-12345678.9x")", "gelesen: -12.345.678,9 – „x“ nicht gelesen"}},
		Reading{"0.100,5", "1", 0, {R"("argument":"0.100,5")"}},
		Reading{"1000.000,5", "1", 0, {R"("argument":"1000.000,5")"}},
		Reading{"1.0000,5", "1", 0, {"Punkt und Komma zugleich: gelesen als 1, mit „.“"}},
		Reading{"100", "1.000,5", 0, {R"("rho":{"argument":"1.000,5")", "gelesen: 1.000 – „,5“"}},
		/* A table's line with a density of its own, or none. */
		Reading{"100\t2,65", "1", as_line, {R"("rho":"2.6500")"}},
		Reading{"100;2", "1", as_line, {R"("rho":"2.0000")"}},
		Reading{"100", "3", as_line, {R"("rho":"3.0000")"}},
		Reading{"100;2", "1", 0, {R"("rho":"1.0000")", "gelesen: 100 – „;2“ nicht gelesen"}},
		/* Each rule worded once, with its source, in the sentence, the
		 * row's reason, the record and the brief status. */
		Reading{"5000",
			"1",
			with_report,
			{"statt vs steht die Warnung, weil w über 9.1·10⁵ liegt, jenseits des Scheitels von "
			 "Beards "
			 "Polynom (Regel von absink, nicht der Richtlinie): dort bedeutet die gedruckte "
			 "Reynoldszahl 268.0787 nichts, die wahre liegt weit über 300.",
			 R"("reason":"Warnung, weil w über 9.1·10⁵ liegt)",
			 "vs = keine, die Warnung, weil w über 9.1·10⁵"}},
		Reading{"1000",
			"2",
			with_report,
			{"statt vs steht die Warnung, weil Nre = 413.8116 über 300 liegt, wo Beards Polynom "
			 "nicht "
			 "mehr gilt (Richtlinie).",
			 R"("brief":"Warnung statt vs, weil Nre = 413.8116 über 300 liegt)"}},
		Reading{"3.9",
			"1",
			with_report,
			{"vs ist 0, weil w = 0.002960612 unter 0.003 liegt (gedruckt gerundet 0.0030): nicht "
			 "sinkend (Richtlinie), berechnet wären 0.0462 cm/s.",
			 R"("reason":"vs = 0, weil w = 0.002960612 unter 0.003)",
			 "gedruckt: w = 0.0030, Nre = 0.0001, vs = 0.0000, weil w = 0.002960612 unter "
			 "0.003"}},
		/* The aerodynamic diameter and TA Luft's class: below w 0.003
		 * too, on a limit the class above, none beyond Nre 300 or where
		 * the twin would lie beyond it; the twin's report as the check;
		 * the classes with their source. */
		Reading{"10",
			"2.65",
			with_report,
			{R"("text":"Klasse 3 nach TA Luft 2002, Anhang 3, Tabelle 13: 10 bis 50 µm; zählt weder zu PM10 noch zu PM2.5")",
			 "gedruckt 16.2788 µm; die Kugel von 16.2788 µm und 1 g/cm³ (absink 16.2788 1) sinkt "
			 "nach dem Modell wie dieses Teilchen mit vs = 0.8057 cm/s",
			 R"("brief":"vs = 0.8057 cm/s, nach dem Stokesschen Gesetz. Aerodynamischer Durchmesser 16.2788 µm, Klasse 3)",
			 "Klasse 1 unter 2.5 µm, Klasse 2 2.5 bis unter 10 µm, Klasse 3 10 bis 50 µm, Klasse "
			 "4 "
			 "über 50 µm (TA Luft 2002, Anhang 3, Tabelle 13",
			 "auf einer Grenze gehören 2.5 µm zur Klasse 2, 10 µm zur Klasse 3, 50 µm zur Klasse "
			 "3;"}},
		Reading{"63",
			"2.65",
			with_report,
			{"(absink 106.0853 1) sinkt nach dem Modell mit vs = 27.7166 cm/s, dieses Teilchen "
			 "mit "
			 "27.7167 cm/s: da ist auf vier Stellen gerundet"}},
		Reading{"1",
			"1",
			as_line,
			{R"("text":"Klasse 1 nach TA Luft 2002, Anhang 3, Tabelle 13: unter 2.5 µm; zählt zu PM2.5 und zu PM10")"}},
		Reading{"2.5",
			"1",
			as_line,
			{R"("text":"Klasse 2 nach TA Luft 2002, Anhang 3, Tabelle 13: 2.5 bis unter 10 µm; zählt zu PM10, nicht zu PM2.5")"}},
		Reading{"100;2.65",
			"1",
			as_line,
			{R"("text":"Klasse 4 nach TA Luft 2002, Anhang 3, Tabelle 13: über 50 µm;)"}},
		Reading{"700",
			"2.65",
			as_line,
			{R"("text":"Klasse 4 nach TA Luft 2002, Anhang 3, Tabelle 13: über 50 µm; zählt weder zu PM10 noch zu PM2.5","reason":"kein aerodynamischer Durchmesser: eine Kugel von 1 g/cm³, die ebenso schnell sänke, läge jenseits von Nre 300")"}},
		Reading{"1000",
			"2",
			as_line,
			{R"("reason":"kein aerodynamischer Durchmesser: das Teilchen liegt jenseits von Nre 300")"}},
		/* A passing column pasted as the density: noted, computed. */
		Reading{"63\t48",
			"1",
			as_line,
			{R"("rho":"48.0000")",
			 "dichter als jeder feste Stoff (Osmium: 22.6 g/cm³): wohl eine Spalte Prozente als "
			 "Dichte eingefügt; gerechnet wird mit 48 g/cm³"}},
		Reading{"63", "22.6", as_line, {R"("rho":"22.6000",)", rho_clean}},
		Reading{"4",
			"1",
			with_report,
			{"Stokessches Gesetz, da das ungerundete Produkt 0.0031942400000000001 unter 0.24",
			 "= 0.00013309333404431731; Rundung 2: Nre = 0.00013309333",
			 "Rundung 3: vs = 0.0486456119"}},
		/* Beard's regime: X and the polynomial, each rounding numbered. */
		Reading{"100",
			"1",
			with_report,
			{"= 49.909999999999997 in doppelter Genauigkeit; Rundung 1 auf einfache Genauigkeit: "
			 "w = 49.9099998",
			 "Rundung 2: X = 3.91022134", "Y = 0.54378217870473256",
			 "Rundung 4: vs = 25.1830864"}},
		/* The method section's numbers, as the page prints them, from
		 * their homes. */
		Reading{"",
			"",
			8,
			{R"("method":{"bestFactor":"4,991·10⁻⁵","nu":"0,1462","stokesLimit":"0,24","stokesFactor":"0,041666668","velocityFactor":"1462","settlingLimit":"0,003","reynoldsLimit":"300","peak":"9,1·10⁵",)",
			 R"("beard":"−3,18657; 0,992696; −1,53193·10⁻³; −9,87059·10⁻⁴; −5,78878·10⁻⁴; 8,55176·10⁻⁵; −3,27815·10⁻⁶")"}},
		/* The command line, quoted for a shell where needed; escaping. */
		Reading{"1 2", "it's", with_report, {R"("command":"absink '1 2' 'it'\\''s'")"}},
		Reading{"", "1", with_report, {R"("command":"absink '' 1")", R"("steps":[])"}},
		Reading{"a\\b\"c\x1f", "1", 0, {R"("argument":"a\\b\"c\u001f")"}},
		/* The status for a screen reader names each field's note. */
		Reading{"1.000", "1", with_report, {"(Richtlinie). Durchmesser: mehrdeutig: gelesen als 1;"}},
		Reading{"100",
			"2.65abc",
			with_report,
			{"nach Beards Polynom. Dichte: gelesen: 2.65 – „abc“ nicht gelesen."}}));

} // namespace

extern "C" const char *absink_split(const char *lines, const char *density, int flags, const char *flow);

namespace {

/* The split's lines as the page reads them: German numbers, a tab, a
 * semicolon or blanks between the cells, a blank line passed over; a cell
 * not read to its end, or a line of one column, named by its line, and no
 * split. */
TEST(Split, ReadsLinesAsThePageReadsNumbers)
{
	const std::string read = absink_split("1\t1,2\n\n2;3\n4 7", "2,7", 0, "");
	EXPECT_NE(read.find(R"("message":"","limits")"), std::string::npos) << read;
	EXPECT_NE(read.find(R"("points":[[1,1.20000005],[2,3],[4,7]])"), std::string::npos) << read;
	EXPECT_STREQ(
		absink_split("1\t10\n2x\t20\n4\t30abc\n5", "1", 0, ""),
		R"({"message":"Zeile 2: gelesen: 2 – „x“ nicht gelesen; Zeile 3: gelesen: 30 – „abc“ nicht gelesen; Zeile 4: nur eine Spalte"})");
}

} // namespace

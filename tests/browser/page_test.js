'use strict';
/*
 * The web page in a real browser: Debian's chromium, headless, driven by
 * playwright-core.  Opened from file:// and served on 127.0.0.1, it must
 * show for every case exactly what absink.js prints, in a box of one
 * height, with a note beside each field that absink did not read to its
 * end or that gives no report; follow its fields in the address and open
 * from one; fill its table, its CSV and its workbook from the same runs
 * (the workbook read back by LibreOffice where it is installed); mark the
 * particle on its plot; pass axe-core; fit a 320 px screen, every row's
 * result in view; print the whole table on numbered A4 pages, in light
 * colours from a dark screen (read back by pdftotext); make no request and
 * log no error.  Leaves a screenshot of a desktop and one of a phone
 * (name-phone.png).
 *
 * absink.js is the command-line program of the same build, for node.
 *
 *	node page_test.js absink.html path/to/absink.js screenshot.png
 */
const assert = require('assert/strict');
const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');

const [pageFile, program, screenshot] = process.argv.slice(2);

/* A report, the warning, the zero velocity, bad input (the usage screen),
 * and text that a browser or JavaScript would read otherwise; the notes
 * beside the two fields; and where given: "axe", axe-core finds nothing;
 * "read", the arguments that absink gets (a decimal comma made a point),
 * which the command line beside the report names; "says", what the
 * sentence beside the report says, "steps", what the particle's steps
 * say; "aero", what the page and the screen reader's status say of its
 * aerodynamic diameter. */
const cases = [
	['100', '1', '', '', {axe: true, says: 'Nre folgt Beards Polynom in ln w, da w = 49.9100 nicht unter 0.24 liegt.',
		steps: 'Rundung 2: X = 3.91022134'}],
	['4', '1', '', '', {steps: 'Rundung 2: Nre = 0.00013309333'}],
	['2', '2.65', '', '', {aero: 'Aerodynamischer Durchmesser 3.2558 µm, Klasse 2 nach TA Luft 2002, Anhang 3, Tabelle 13: ' +
		'2.5 bis unter 10 µm; zählt zu PM10, nicht zu PM2.5.',
	steps: 'die Kugel von 3.2558 µm und 1 g/cm³ (absink 3.2558 1) sinkt nach dem Modell wie dieses Teilchen mit vs = 0.0322 cm/s'}],
	['700', '2.65', '', '', {aero: 'Kein aerodynamischer Durchmesser: eine Kugel von 1 g/cm³, die ebenso schnell sänke, ' +
		'läge jenseits von Nre 300. Klasse 4 nach TA Luft 2002, Anhang 3, Tabelle 13: über 50 µm; zählt weder zu PM10 ' +
		'noch zu PM2.5.'}],
	['1000', '2', '', '', {axe: true, says: 'Warnung, weil Nre = 413.8116 über 300 liegt'}],
	['5000', '1', '', '', {says: 'weil w über 9.1·10⁵ liegt'}],
	['3.9', '1', '', '', {says: 'w = 0.002960612 unter 0.003 liegt (gedruckt gerundet 0.0030)'}],
	['abc', '1', 'Durchmesser: keine Zahl', '', {axe: true}],
	['1,5', '1', '', '', {read: ['1.5', '1']}], ['100', '2,65', '', '', {read: ['100', '2.65']}],
	['100', '2,650', '', '', {read: ['100', '2.650']}], ['1,5e2', '1', '', '', {read: ['1.5e2', '1']}],
	['1.000', '1', 'mehrdeutig: gelesen als 1; für 1000 ohne Trennzeichen eingeben', '', {axe: true}],
	['1.000,5', '1', 'Punkt und Komma zugleich: gelesen als 1000.5, mit „,“ als Dezimalzeichen und „.“ zwischen ' +
		'Tausendern', '', {read: ['1000.5', '1']}],
	['10', '0', '', 'Dichte: nicht größer als 0'], ['', '1', 'Durchmesser: leer', ''], ['.5', '+5'], ['1e3', '1'],
	[' 12abc', '2.65 ', 'gelesen: 12 – „abc“ nicht gelesen', ''],
	['0x10', '1', 'Durchmesser: nicht größer als 0; gelesen: 0 – „x10“ nicht gelesen', ''], ['１０', '1', 'Durchmesser: keine Zahl'],
	['4', '1e39', '', 'Dichte: zu groß, über 3.4e38'], ['1ex', '1e-50', 'Durchmesser: nach dem e fehlt der Exponent',
		'Dichte: zu klein, unter 1.2e-38'],
	/* the longest argument Linux passes */
	['0'.repeat(131067) + '12.5', '1'],
];

/* The test particles (tests/particles.tsv, whose head says what each
 * column holds): d, rho, w, Nre, the model's vs, what the report shows,
 * its verdict, the aerodynamic diameter, TA Luft's class. */
const particles = fs.readFileSync(path.join(__dirname, '..', 'particles.tsv'), 'ascii').split('\n')
	.filter(line => line && !line.startsWith('#')).map(line => line.split('\t'));
assert.ok(particles.length > 10 && particles.every(p => p.length === 9), 'the test particles');
/* The size distributions (tests/splits.tsv, whose head says what each
 * field holds). */
const splits = fs.readFileSync(path.join(__dirname, '..', 'splits.tsv'), 'ascii').split('\n')
	.filter(line => line && !line.startsWith('#')).map(line => line.split('\t'));
/* 100 um of quartz, a row of the table below. */
const quartz = (([, , w, nre, vs, , , da, sizeClass]) => ({w, nre, vs, da, sizeClass}))(
	particles.find(([d, rho]) => d === '100' && rho === '2.65'));

/* The table for the density 2: a velocity, the warning and why, no
 * report, a blank line, a decimal comma, a doubt, the zero velocity and
 * why, two cells pasted from a spreadsheet (a tab, a semicolon), both
 * separators, a particle whose twin would lie beyond Nre 300 (class 4 all
 * the same), text that XML and CSV must escape, and a column of
 * percentages pasted as the density; an aerodynamic diameter in each of TA
 * Luft's classes, below w 0.003 too; as cells, and as the CSV for scripts
 * (after its header; its last line says what made it and when). */
const diameters = '10\n1000\nabc\n\n2,65\n1.000\n3\n100\t2,65\n5000;1\n1.000,5\n700;2.65\na<b&c"d\\e\n63\t48';
const doubt = 'mehrdeutig: gelesen als 1; für 1000 ohne Trennzeichen eingeben';
const both = 'Punkt und Komma zugleich: gelesen als 1000.5, mit „,“ als Dezimalzeichen und „.“ zwischen Tausendern';
const above = nre => `Warnung, weil Nre = ${nre} über 300 liegt, wo Beards Polynom nicht mehr gilt (Richtlinie)`;
const peak = 'Warnung, weil w über 9.1·10⁵ liegt, jenseits des Scheitels von Beards Polynom (Regel von absink, nicht der ' +
	'Richtlinie)';
const zero = w => `vs = 0, weil w = ${w} unter 0.003 liegt: nicht sinkend (Richtlinie)`;
const warning = 'Achtung: Reynolds-Zahl > 300';
const beyond = 'kein aerodynamischer Durchmesser: das Teilchen liegt jenseits von Nre 300';
const osmium = 'dichter als jeder feste Stoff (Osmium: 22.6 g/cm³): wohl eine Spalte Prozente als Dichte eingefügt; ' +
	'gerechnet wird mit 48 g/cm³';
const twin = 'kein aerodynamischer Durchmesser: eine Kugel von 1 g/cm³, die ebenso schnell sänke, läge jenseits von Nre 300';
const cells = [
	['10', '10.0000', '2.0000', '0.0998', '0.0042', '14.1421', '3', '0.6081'],
	['1000' + above('413.8116') + beyond, '1000.0000', '2.0000', '99820.0000', '413.8116', '–', '–', warning],
	['abc', 'Durchmesser: keine Zahl'],
	['', '', '', '', '', '', '', ''],
	['2,65' + zero('0.001857613'), '2.6500', '2.0000', '0.0019', '0.0001', '3.7477', '2', '0.0000'],
	['1.000' + doubt + zero('9.982e-05'), '1.0000', '2.0000', '0.0001', '0.0000', '1.4142', '1', '0.0000'],
	['3' + zero('0.00269514'), '3.0000', '2.0000', '0.0027', '0.0001', '4.2426', '2', '0.0000'],
	['100\t2,65', '100.0000', '2.6500', quartz.w, quartz.nre, quartz.da, quartz.sizeClass, quartz.vs],
	['5000;1' + peak + beyond, '5000.0000', '1.0000', '6238750.0000', '268.0787', '–', '–', warning],
	['1.000,5' + both + above('414.1627') + beyond, '1000.5000', '2.0000', '99969.8047', '414.1627', '–', '–', warning],
	['700;2.65' + twin, '700.0000', '2.6500', '45365.6953', '257.6575', '–', '4', '538.1360'],
	['a<b&c"d\\e', 'Durchmesser: keine Zahl'],
	['63\t48Dichte: ' + osmium, '63.0000', '48.0000', '599.0326', '12.9803', '738.7736', '4', '301.2264'],
];
const csv = [
	'"Eingabe","d_um","rho_g_cm3","w","Nre","vs_cm_s","Meldung","da_um","Klasse nach TA Luft 2002, Anhang 3, Tabelle 13"',
	'"10","10.0000","2.0000","0.0998","0.0042","0.6081","","14.1421","3"',
	`"1000","1000.0000","2.0000","99820.0000","413.8116","","${warning}; ${above('413.8116')}; ${beyond}","",""`,
	'"abc","","","","","","Durchmesser: keine Zahl","",""',
	'"","","","","","","","",""',
	`"2,65","2.6500","2.0000","0.0019","0.0001","0.0000","${zero('0.001857613')}","3.7477","2"`,
	`"1.000","1.0000","2.0000","0.0001","0.0000","0.0000","${zero('9.982e-05')}; ${doubt}","1.4142","1"`,
	`"3","3.0000","2.0000","0.0027","0.0001","0.0000","${zero('0.00269514')}","4.2426","2"`,
	`"100\t2,65","100.0000","2.6500","${quartz.w}","${quartz.nre}","${quartz.vs}","","${quartz.da}","${quartz.sizeClass}"`,
	`"5000;1","5000.0000","1.0000","6238750.0000","268.0787","","${warning}; ${peak}; ${beyond}","",""`,
	`"1.000,5","1000.5000","2.0000","99969.8047","414.1627","","${warning}; ${above('414.1627')}; ${beyond}; ${both}","",""`,
	`"700;2.65","700.0000","2.6500","45365.6953","257.6575","538.1360","${twin}","","4"`,
	'"a<b&c""d\\e","","","","","","Durchmesser: keine Zahl","",""',
	`"63	48","63.0000","48.0000","599.0326","12.9803","301.2264","Dichte: ${osmium}","738.7736","4"`,
].map(line => line + '\r\n').join('');
/* A project's name with the characters that CSV, XML and CSS escape. */
const vorhaben = 'Halde „Süd“ "A\\B" <&>';
const literally = text => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const made = new RegExp(`^"absink [0-9.]+ [0-9-]+T[0-9:.]+Z · Vorhaben: ${literally(vorhaben.replace(/"/g, '""'))}"` +
	',""'.repeat(8) + '\r\n$');
/* A download's name: the moment it was asked for, today. */
const two = n => String(n).padStart(2, '0');
const today = now => `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
const named = /^absink-\d{4}-\d\d-\d\d-\d{4}\.(csv|xlsx)$/;

/* A spreadsheet as LibreOffice reads it: its rows, a cell "=value" for a
 * number, its text for text, without the empty cells at a row's end. */
function spreadsheet(file) {
	const soffice = ['soffice', 'libreoffice'].find(name => {
		try {
			execFileSync('which', [name]);
			return true;
		} catch (e) {
			return false;
		}
	});
	if (!soffice)
		return null;
	const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'absink-lo-'));
	execFileSync(soffice, [`-env:UserInstallation=file://${dir}/profile`, '--headless', '--convert-to', 'fods',
		'--outdir', dir, file], {stdio: 'ignore'});
	const text = fs.readFileSync(path.join(dir, path.basename(file).replace(/\.[^.]*$/, '.fods')), 'utf8');
	fs.rmSync(dir, {recursive: true, force: true});
	const unescape = t => t.replace(/<text:tab\/>/g, '\t').replace(/<[^>]*>/g, '').replace(/&gt;/g, '>')
		.replace(/&lt;/g, '<').replace(/&quot;/g, '"').replace(/&apos;/g, '\'').replace(/&amp;/g, '&');
	return [...text.matchAll(/<table:table-row[^>]*>([\s\S]*?)<\/table:table-row>/g)].map(([, row]) => {
		const cells = [];
		for (const [, attributes, body = ''] of row.matchAll(/<table:table-cell([^>]*?)(?:\/>|>([\s\S]*?)<\/table:table-cell>)/g)) {
			const repeated = Number((attributes.match(/number-columns-repeated="(\d+)"/) || [0, 1])[1]);
			const number = attributes.match(/office:value-type="float" office:value="([^"]*)"/);
			for (let k = 0; k < Math.min(repeated, 64); k++)
				cells.push(number ? '=' + number[1] : unescape(body.trim()));
		}
		while (cells.length && cells[cells.length - 1] === '')
			cells.pop();
		return cells;
	});
}

const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const absink = args => execFileSync(process.execPath, [program, ...args], {encoding: 'utf8'});

async function check(context, url, shot) {
	const page = await context.newPage();
	const problems = [];
	page.on('console', message => message.type() === 'error' && problems.push(message.text()));
	page.on('pageerror', error => problems.push(error.message));
	const requests = [];
	page.on('request', request => requests.push(request.url()));

	const opened = `${url}?d=500&rho=2.65`;
	await page.goto(opened);
	const report = page.locator('#report');
	await page.waitForFunction(() => document.getElementById('report').textContent !== '');
	assert.equal(await report.textContent(), absink(['500', '2.65']), `${opened} opens with its values`);
	/* The method's numbers, filled in from the program. */
	const method = await page.textContent('#method');
	for (const part of ['w = ((d · 4,991·10⁻⁵) · d) · d · ρ', 'a₀ … a₆ = −3,18657; 0,992696; −1,53193·10⁻³;', 'Nre über 300 steht'])
		assert.ok(method.includes(part), `the method says ${part}`);

	const heights = new Set();
	for (const [d, rho, dNote = '', rhoNote = '', {axe: audit, read, says, steps, aero} = {}] of cases) {
		await page.fill('input[name=d]', d);
		await page.fill('input[name=rho]', rho);
		assert.equal(await report.textContent(), absink(read || [d, rho]), `report for [${d}] [${rho}]`);
		if (read)
			assert.equal(await page.textContent('#command'), `absink ${read.join(' ')}`, `command for [${d}] [${rho}]`);
		if (steps)
			assert.ok((await page.textContent('#steps')).includes(steps), `steps for [${d}] [${rho}]`);
		heights.add((await report.boundingBox()).height + ' ' + (await page.locator('#method').boundingBox()).y);
		if (says)
			assert.ok((await page.textContent('#explanation')).includes(says), `sentence for [${d}] [${rho}]`);
		for (const [name, note] of [['d', dNote], ['rho', rhoNote]]) {
			assert.equal(await page.textContent(`#${name}-note`), note, `note for [${d}] [${rho}]`);
			const marks = ['aria-invalid', 'aria-describedby'].map(key => page.getAttribute(`#${name}`, key));
			assert.deepEqual(await Promise.all(marks), note ? ['true', `${name}-note`] : [null, null],
				`${name} marked for [${d}] [${rho}]`);
		}
		if (audit) {
			await page.addScriptTag({content: axe});
			const {violations} = await page.evaluate(() => window.axe.run());
			assert.deepEqual(violations.map(v => `${v.id}: ${v.nodes.map(n => n.target).join(' ')}`), [],
				`axe-core for [${d}] [${rho}]`);
		}
		await page.waitForFunction(([d, rho]) => {
			const query = new URLSearchParams(location.search);
			return query.get('d') === d && query.get('rho') === rho;
		}, [d, rho], {timeout: 5000}); /* the address follows the fields, as typed */
		/* a screen reader hears the result and a field's note */
		const status = await page.textContent('#status');
		assert.ok(status && dNote.split('; ').every(part => status.includes(part.replace(/^Durchmesser: /, ''))),
			`status for [${d}] [${rho}]: ${status}`);
		if (aero) {
			assert.equal(await page.textContent('#aerodynamic'), aero, `aerodynamic diameter for [${d}] [${rho}]`);
			assert.ok(status.endsWith(aero), `status for [${d}] [${rho}] with its aerodynamic diameter: ${status}`);
		}
	}
	assert.equal(heights.size, 1, `the report keeps its height, and nothing below it moves: ${[...heights]}`);

	/* An address longer than a field takes is cut to the field's length. */
	const long = `${url}?d=${'0'.repeat(200000)}12.5&rho=1`;
	await page.goto(long);
	await page.waitForFunction(() => document.forms.particle.d.value.length === 131071);
	assert.equal(await report.textContent(), absink(['0', '1']), 'an address longer than a field');

	/* The particle's mark: on the curve for a report, none for bad input. */
	await page.fill('input[name=d]', '100');
	await page.fill('input[name=rho]', '1');
	assert.equal(await page.locator('#plot #mark').count(), 1, 'the particle is marked');
	assert.ok((await page.locator('#plot .curve').getAttribute('d')).length > 100, 'the curve is drawn');
	/* The plot as a reader reads it, at density 1: each decade's label at
	 * its decade on both axes (d from 1 µm to 1 cm, vs from 10⁻³ to
	 * 10⁴ cm/s), Gunn and Kinzer's drops at their diameters and velocities,
	 * each band's name within its band. */
	const read = await page.$eval('#plot', svg => ({
		frame: ['x', 'y', 'width', 'height'].map(k => Number(svg.querySelector('rect.axis').getAttribute(k))),
		texts: [...svg.querySelectorAll('text')].map(t => [t.textContent, Number(t.getAttribute('x')), Number(t.getAttribute('y'))]),
		drops: [...svg.querySelectorAll('circle.drop')].map(c => [Number(c.getAttribute('cx')), Number(c.getAttribute('cy'))]),
		bands: [...svg.querySelectorAll('rect[fill^="url"]')].map(r => [r.getAttribute('class'), Number(r.getAttribute('x')),
			Number(r.getAttribute('width'))])}));
	const [left, top, width, height] = read.frame;
	const across = d => left + Math.log10(d) / 4 * width;
	const up = v => top + height - (Math.log10(v) + 3) / 7 * height;
	const near = (a, b) => Math.abs(a - b) < 0.5;
	['10⁰', '10¹', '10²', '10³', '10⁴'].forEach((label, k) => assert.ok(read.texts.some(([t, tx, ty]) =>
		t === label && near(tx, across(10 ** k)) && ty > top + height), `d's label ${label} at its decade`));
	['10⁻³', '10⁻²', '10⁻¹', '10⁰', '10¹', '10²', '10³', '10⁴'].forEach((label, k) => assert.ok(read.texts.some(([t, tx, ty]) =>
		t === label && tx < left && near(ty, up(10 ** (k - 3)) + 4)), `vs's label ${label} at its decade`));
	const measured = fs.readFileSync(path.join(__dirname, '..', '..', 'doc', 'gunn-kinzer-1949.csv'), 'ascii').split('\n')
		.filter(line => /^[0-9]/.test(line)).map(line => line.split(',').map(Number));
	assert.deepEqual(read.drops.map(([cx, cy]) => [cx.toFixed(1), cy.toFixed(1)]),
		measured.map(([mm, v]) => [across(mm * 1000).toFixed(1), up(v).toFixed(1)]), 'the measured drops where they were measured');
	for (const [kind, name] of [['zero-line', 'vs = 0'], ['warn-line', 'Warnung']]) {
		const [, x0, w] = read.bands.find(([k]) => k === kind);
		assert.ok(read.texts.some(([t, tx]) => t === name && tx > x0 && tx < x0 + w), `the band ${name} under its name`);
	}
	/* vs = 0 hatched on the left, the warning on the right; the limit of
	 * Stokes' law at 13.40 um, where w reaches 0.24 at density 2. */
	await page.fill('input[name=rho]', '2');
	const plotted = await page.$eval('#plot', svg => {
		const frame = svg.querySelector('rect.axis');
		return {bands: [...svg.querySelectorAll('rect[fill^="url"]')].map(r => r.getAttribute('class')),
			left: Number(frame.getAttribute('x')), width: Number(frame.getAttribute('width')),
			stokes: Number(svg.querySelector('line.limit').getAttribute('x1'))};
	});
	assert.deepEqual(plotted.bands, ['zero-line', 'warn-line'], 'the bands, vs = 0 left of the warning');
	assert.ok(Math.abs(plotted.left + Math.log10(13.3968) / 4 * plotted.width - plotted.stokes) < 0.5,
		`the limit of Stokes' law at ${plotted.stokes}`);
	/* An arrow on the frame points the way out: down for vs = 0, up for a
	 * warning, whichever rule gives it. */
	for (const [d, rho, turn] of [['3', '1', 'rotate(90)'], ['1000', '2', 'rotate(-90)'], ['5000', '1', 'rotate(-90)']]) {
		await page.fill('input[name=d]', d);
		await page.fill('input[name=rho]', rho);
		assert.ok((await page.getAttribute('#plot path#mark', 'transform')).endsWith(turn), `the arrow for ${d} ${rho}`);
	}
	await page.fill('input[name=rho]', '1');
	await page.fill('input[name=d]', 'abc');
	assert.equal(await page.locator('#plot #mark').count(), 0, 'no mark for bad input');
	await page.fill('input[name=d]', '100');

	/* Every test particle as a line of the table with its own density:
	 * its w, Nre and aerodynamic diameter, and the velocity or the
	 * warning, as absink prints them. */
	await page.fill('#diameters', particles.map(([d, rho]) => `${d}\t${rho}`).join('\n'));
	const shown = await page.locator('#table tbody tr').evaluateAll(
		trs => trs.map(tr => [3, 4, 7, 5, 6].map(k => tr.cells[k].textContent)));
	assert.deepEqual(shown, particles.map(([, , w, nre, , vs, , da, sizeClass]) =>
		[w, nre, vs === 'warning' ? warning : vs, da === 'nan' ? '–' : da, sizeClass === '0' ? '–' : sizeClass]),
	'the test particles in the table');

	await page.fill('input[name=rho]', '2');
	await page.fill('input[name=vorhaben]', vorhaben);
	await page.fill('#diameters', diameters);
	const rows = await page.locator('#table tbody tr').evaluateAll(
		trs => trs.map(tr => [...tr.cells].map(td => td.textContent)));
	assert.deepEqual(rows, cells, 'the table');
	const files = {};
	for (const id of ['csv', 'xlsx']) {
		const [download] = await Promise.all([page.waitForEvent('download'), page.click('#' + id)]);
		assert.match(download.suggestedFilename(), named, `the ${id}'s name`);
		assert.ok(download.suggestedFilename().startsWith(`absink-${today(new Date())}-`), `the ${id} named today`);
		files[id] = path.join(os.tmpdir(), `absink-test-${process.pid}.${id}`);
		await download.saveAs(files[id]);
	}
	const text = fs.readFileSync(files.csv, 'utf8');
	assert.equal(text.slice(0, csv.length), csv, 'the CSV');
	assert.match(text.slice(csv.length), made, 'the CSV\'s last line');
	/* The workbook is a ZIP whose checksums hold and whose parts are XML,
	 * as Python's zipfile and XML parser read it (and pandas with them). */
	/* Each number with its format as the sheet shows it: four decimals for
	 * the values and da, a whole number for the class, by the cell's
	 * style, its number format and that format's code. */
	const formats = JSON.parse(execFileSync('python3', ['-c', `import json, sys, zipfile, xml.dom.minidom as x
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
parts = {name: x.parseString(z.read(name)) for name in z.namelist()}
styles = parts['xl/styles.xml']
codes = {f.getAttribute('numFmtId'): f.getAttribute('formatCode') for f in styles.getElementsByTagName('numFmt')}
codes.update({'0': 'General', '1': '0', '49': '@'})
xfs = styles.getElementsByTagName('cellXfs')[0].getElementsByTagName('xf')
print(json.dumps([[c.getAttribute('r'), c.getElementsByTagName('v')[0].firstChild.data,
	codes[xfs[int(c.getAttribute('s'))].getAttribute('numFmtId')]]
	for c in parts['xl/worksheets/sheet1.xml'].getElementsByTagName('c') if c.getElementsByTagName('v')]))`, files.xlsx],
	{encoding: 'utf8'}));
	const numbers = text.trim().split('\r\n').slice(1, -1).flatMap((line, i) => line.slice(1, -1).split('","')
		.map((cell, k) => [`${'ABCDEFGHI'[k]}${i + 2}`, cell, k === 8 ? '0' : '0.0000'])
		.filter(([, cell], k) => cell && [1, 2, 3, 4, 5, 7, 8].includes(k)));
	assert.deepEqual(formats.map(([ref, v, code]) => [ref, Number(v), code]), numbers.map(([ref, v, code]) => [ref, Number(v), code]),
		'the workbook\'s numbers, each in its format');
	/* It holds the CSV's cells: the Eingabe as typed, the values as
	 * numbers; and after a blank row what made it. */
	const sheet = spreadsheet(files.xlsx);
	if (sheet) {
		const numeric = [1, 2, 3, 4, 5, 7, 8];
		const expected = text.trim().split('\r\n').slice(0, -1).map((line, i) => {
			/* A pasted line's tab shows as a bar in the workbook. */
			const row = line.slice(1, -1).split('","').map((cell, k) => i && numeric.includes(k) && cell ? '=' + Number(cell)
				: cell.replace(/""/g, '"').replace(/\t/g, k === 0 ? ' | ' : '\t'));
			while (row.length && row[row.length - 1] === '')
				row.pop();
			return row;
		});
		assert.deepEqual(sheet[0], ['Eingabe', 'Durchmesser (µm)', 'Dichte (g/cm³)', 'Bestzahl w', 'Reynoldszahl Nre',
			'vs (cm/s)', 'Meldung', 'aerodynamischer Durchmesser (µm)', 'Klasse nach TA Luft 2002, Anhang 3, Tabelle 13'],
		'the workbook\'s header');
		assert.deepEqual(sheet.slice(1, -2), expected.slice(1), 'the workbook, read by LibreOffice');
		assert.match(sheet[sheet.length - 1][0], new RegExp(`^erstellt mit absink [0-9.]+ am .* · Vorhaben: ${literally(vorhaben)}$`),
			'the workbook\'s maker');
	} else {
		console.log('no LibreOffice here: the workbook is not read back');
	}
	for (const file of Object.values(files))
		fs.rmSync(file);

	/* A record of 42 rows prints on A4: the record on page 1, the whole
	 * table after it, its header on every page; each page with the title,
	 * the version, the time and its zone, the project and "Seite N von M". */
	await page.fill('input[name=d]', '1.000');
	await page.fill('#diameters', ['1.000', '2000', ...Array.from({length: 40}, (_, i) => String(i + 1))].join('\n'));
	const printout = path.join(os.tmpdir(), `absink-test-${process.pid}.pdf`);
	fs.writeFileSync(printout, await page.pdf({preferCSSPageSize: true}));
	const pages = execFileSync('pdftotext', ['-layout', printout, '-'], {encoding: 'utf8'}).split('\f').slice(0, -1);
	/* Each word's height on paper, in pt: some 0.95 of its font's size. */
	const tall = word => [...execFileSync('pdftotext', ['-bbox', printout, '-'], {encoding: 'utf8'})
		.matchAll(/yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</g)]
		.filter(([, , , w]) => w === word).map(([, top, bottom]) => bottom - top);
	const [header, label] = [tall('Eingabe'), tall('Beard')];
	fs.rmSync(printout);
	/* Nothing shrunk to fit: the table's header at its 8.5 pt, the plot's
	 * labels at 7 pt at least. */
	assert.ok(header.length && header.every(h => h >= 8.5 * 0.93), `the table's header at ${header} pt high`);
	assert.ok(label.length && label.every(h => h >= 7 * 0.93), `the plot's labels at ${label} pt high`);
	assert.ok(pages.length >= 2, `the printout has ${pages.length} pages`);
	for (const [i, text] of pages.entries()) {
		assert.match(text, /absink [0-9.]+ · VDI 3782 Blatt 1 .*gedruckt am [0-9.]+, [0-9:]+ \S+/, `page ${i + 1}'s head`);
		assert.match(text, new RegExp(`Vorhaben: ${literally(vorhaben)} +Seite ${i + 1} von ${pages.length}`), `page ${i + 1}'s foot`);
		if (i > 0)
			assert.match(text, /Eingabe +\(in µm\) +g\/cm³\) +Bestzahl w +Nre +messer \(in µm\) +Luft +vs \(in cm\/s\)\n/,
				`the table's header on page ${i + 1}, wrapped, to its last column`);
	}
	for (const part of ['Rechenprotokoll', 'absink 1.000 2', 'Rundung 1', 'RICHTLINIE', 'Annahmen des Modells',
		'Cunningham', 'Gunn und Kinzer'])
		assert.ok(pages[0].includes(part), `page 1 holds the record: ${part}`);
	const table = pages.slice(1).join('');
	assert.ok(table.includes('Zeilen ohne eigene Dichte rechnen mit der Dichte von oben: 2.0000 g/cm³'), 'the table\'s density');
	/* Each row's values on a line, every column to the last, as the page
	 * shows them; d = 1 twice (the lines 1.000 and 1). */
	const printed = await page.locator('#table tbody tr').evaluateAll(trs => trs.map(tr =>
		[...tr.cells].slice(1).map(td => td.textContent)));
	for (let i = 1; i <= 40; i++) {
		const values = printed[i + 1];
		assert.equal(values[0], `${i}.0000`, `row ${i}`);
		assert.equal(table.match(new RegExp(` ${values.map(literally).join(' +')}\n`, 'g')).length, i === 1 ? 2 : 1,
			`row ${i} is printed whole: ${values.join(' ')}`);
	}
	/* On paper in its light colours, from a dark screen too; the plot
	 * drawn for the paper, its labels at 7 pt at least. */
	await page.emulateMedia({media: 'print', colorScheme: 'dark'});
	const paper = await page.$eval('#plot-print', svg => ({
		hatch: getComputedStyle(svg.querySelector('.warn-bg')).fill, ink: getComputedStyle(svg.querySelector('text')).fill,
		points: svg.getBoundingClientRect().width / svg.viewBox.baseVal.width * parseFloat(getComputedStyle(svg).fontSize) * 0.75,
		curve: svg.querySelector('.curve').getAttribute('d').length}));
	assert.deepEqual([paper.hatch, paper.ink], ['rgb(251, 227, 192)', 'rgb(0, 0, 0)'], 'the printed plot\'s colours');
	assert.ok(paper.points >= 7 && paper.curve > 100, `the printed plot: labels at ${paper.points} pt`);
	assert.ok(await page.isVisible('#plot-caption'), 'the printout has the plot\'s legend');
	await page.emulateMedia({media: 'screen', colorScheme: 'light'});
	/* A 320 px screen holds the page without scrolling sideways, no cell
	 * covers another, and every row's result is in view, whole. */
	for (const width of [320, 360]) {
		await page.setViewportSize({width, height: 640});
		assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), width, `nothing wider than ${width} px`);
		const covered = await page.$$eval('#table tr', trs => trs.some(tr => [...tr.cells].some((cell, k, all) => {
			const [a, b] = [all[k - 1] && all[k - 1].getBoundingClientRect(), cell.getBoundingClientRect()];
			return a && b.width && a.width && a.left < b.right - 1 && b.left < a.right - 1 && a.top < b.bottom - 1 && b.top < a.bottom - 1;
		})));
		assert.ok(!covered, `no cell covers another at ${width} px`);
		/* Each value of a card under its column's name. */
		const named = await page.$$eval('#table tbody tr', trs => [...trs[2].cells].slice(1).map(td =>
			getComputedStyle(td, '::before').content.includes(td.dataset.label) && td.dataset.label));
		assert.deepEqual(named, ['d (µm)', 'ρ (g/cm³)', 'w', 'Nre', 'da (µm)', 'Klasse', 'vs (cm/s)'], `the cards' names at ${width} px`);
		const results = await page.$$eval('#table td.result, #table td.message', (tds, width) => tds.map(td => {
			const box = td.getBoundingClientRect();
			return box.left >= 0 && box.right <= width && td.scrollWidth <= td.clientWidth;
		}), width);
		assert.ok(results.length === 42 && results.every(Boolean), `every result in view at ${width} px`);
		const pre = await page.$eval('#report', e => e.scrollWidth <= e.clientWidth);
		assert.ok(pre, `the report fits its box at ${width} px`);
		if (width === 320) {
			await page.addScriptTag({content: axe});
			const {violations} = await page.evaluate(() => window.axe.run());
			assert.deepEqual(violations.map(v => v.id), [], 'axe-core on a phone');
		}
	}
	await page.setViewportSize({width: 1000, height: 740});
	/* The emission split by size class: each distribution of
	 * tests/splits.tsv as lines pasted from a spreadsheet, its shares and
	 * limits as the library gives them, or the line its fault names; the
	 * address keeps it, and the CSV carries it. */
	for (const [sizes, values, rho, residue, status, index, limits, fractions, low, high] of splits) {
		const lines = sizes.split(' ').map((d, i) => `${d}\t${values.split(' ')[i] || ''}`.trim()).join('\n');
		await page.fill('input[name=rho]', rho === '0' ? '1' : rho);
		await page.setChecked('#aero', rho === '0');
		await page.setChecked('#residue', residue === '1');
		await page.fill('#distribution', lines);
		const note = await page.textContent('#split-note');
		if (status !== 'ok') {
			assert.ok(note && (index === '-1' || note.startsWith(`Zeile ${Number(index) + 1}:`)), `the split of ${lines}: ${note}`);
			continue;
		}
		const shown = await page.$$eval('#split-shares tbody tr', trs => trs.map(tr => [...tr.cells].map(td => td.textContent)));
		const expect = list => list.split(' ').map(x => x === 'nan' ? 'nicht bestimmt' : x);
		assert.deepEqual([0, 1, 2, 3].map(k => shown[k].slice(1, 4)), expect(fractions).map((f, k) =>
			[f, expect(low)[k], expect(high)[k]]), `the shares of ${lines}`);
		assert.deepEqual(await page.$$eval('#split-limits li', lis => lis.map(li => li.textContent.match(/d = (\S+) µm/)[1])),
			limits.split(' '), `the limits of ${lines}`);
	}
	await page.fill('input[name=rho]', '1');
	await page.setChecked('#aero', true);
	await page.setChecked('#residue', false);
	await page.fill('#distribution', '1\t10\n2,5\t20\n10\t40\n50\t70\n100\t90');
	await page.fill('#flow', '12,5');
	await page.waitForFunction(() => new URLSearchParams(location.search).get('massenstrom') === '12,5');
	const kept = page.url();
	await page.goto(kept);
	await page.waitForFunction(() => document.querySelectorAll('#split-shares tbody tr').length === 6);
	assert.equal(await page.$eval('#split-shares tbody', tbody => tbody.rows[0].cells[4].textContent), '2.5000',
		'the link keeps the split and its mass flow');
	const [splitCsv] = await Promise.all([page.waitForEvent('download'), page.click('#csv')]);
	assert.ok(fs.readFileSync(await splitCsv.path(), 'utf8').includes('"Klasse 1: unter 2.5 µm","20.00","20.00","20.00","2.5000"'),
		'the CSV carries the split');
	await page.fill('#distribution', '');
	await page.setChecked('#aero', false);
	await page.fill('input[name=d]', '100');
	await page.fill('input[name=vorhaben]', '');
	await page.fill('#diameters', '10\n100\n1000\n3');
	await page.fill('input[name=rho]', '1');
	if (shot) {
		await page.setViewportSize({width: 360, height: 740});
		await page.screenshot({path: shot.replace(/\.png$/, '-phone.png'), fullPage: true});
		await page.setViewportSize({width: 1000, height: 740});
		await page.screenshot({path: shot, fullPage: true});
	}
	assert.deepEqual(problems, [], 'no error on the console');
	assert.deepEqual(requests.filter(u => !/^(blob|data):/.test(u)), [opened, long, kept], 'no request but the page');
	await page.close();
	console.log(`${url}: ${cases.length} reports, the address, the plot, the table, its files and its printout: ok`);
}

(async () => {
	const home = fs.mkdtempSync(path.join(os.tmpdir(), 'absink-chromium-'));
	const server = http.createServer({maxHeaderSize: 1 << 20}, (request, response) => {
		response.setHeader('Content-Type', 'text/html; charset=utf-8');
		response.end(fs.readFileSync(pageFile));
	});
	await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
	const context = await chromium.launchPersistentContext(home, {
		executablePath: '/usr/bin/chromium',
		headless: true,
		acceptDownloads: true,
		args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
			'--disable-background-networking', '--disable-component-update', '--disable-sync'],
	});
	try {
		await check(context, 'file://' + path.resolve(pageFile), screenshot);
		await check(context, `http://127.0.0.1:${server.address().port}/absink.html`);
	} finally {
		await context.close();
		server.close();
		fs.rmSync(home, {recursive: true, force: true});
	}
})().catch(error => {
	console.error(error);
	process.exit(1);
});

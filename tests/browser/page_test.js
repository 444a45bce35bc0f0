'use strict';
/*
 * The web page in a real browser: Debian's chromium, headless, driven by
 * playwright-core.  Opened from file:// and served on 127.0.0.1, it must
 * show for every case exactly what absink.js prints, in a box of one
 * height, with a note beside each field that absink did not read to its
 * end or that gives no report; follow its fields in the address and open
 * from one; fill its table and both CSVs from the same runs; mark the
 * particle on its plot; pass axe-core; fit a 320 px screen and print on one
 * page; make no request and log no error.  Leaves a screenshot of a desktop
 * and one of a phone (name-phone.png).
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
 * "read", the arguments that absink gets (a decimal comma made a point);
 * "says", what the sentence beside the report says. */
const cases = [
	['100', '1', '', '', {axe: true, says: 'Nre folgt Beards Polynom in ln w, da w = 49.9100 nicht unter 0.24 liegt.'}],
	['1000', '2', '', '', {axe: true, says: 'Warnung, weil Nre = 413.8116 über 300 liegt'}],
	['5000', '1', '', '', {says: 'weil w über 9.1·10⁵ liegt'}],
	['3.9', '1', '', '', {says: 'w = 0.002960612 unter 0.003 liegt (gedruckt gerundet 0.0030)'}],
	['abc', '1', 'Durchmesser: keine Zahl', '', {axe: true}],
	['1,5', '1', '', '', {read: ['1.5', '1']}], ['100', '2,65', '', '', {read: ['100', '2.65']}],
	['1.000', '1', 'mehrdeutig: gelesen als 1; für 1000 ohne Trennzeichen eingeben', '', {axe: true}],
	['1.000,5', '1', 'Punkt und Komma zugleich: gelesen als 1, mit „.“ als Dezimalzeichen; ' +
		'gelesen: 1.000 – „,5“ nicht gelesen', ''],
	['10', '0', '', 'Dichte: nicht größer als 0'], ['', '1', 'Durchmesser: leer', ''], ['.5', '+5'], ['1e3', '1'],
	[' 12abc', '2.65 ', 'gelesen: 12 – „abc“ nicht gelesen', ''],
	['0x10', '1', 'Durchmesser: nicht größer als 0; gelesen: 0 – „x10“ nicht gelesen', ''], ['１０', '1', 'Durchmesser: keine Zahl'],
	['4', '1e39', '', 'Dichte: zu groß, über 3.4e38'], ['1ex', '1e-50', 'Durchmesser: nach dem e fehlt der Exponent',
		'Dichte: zu klein, unter 1.2e-38'],
	/* the longest argument Linux passes */
	['0'.repeat(131067) + '12.5', '1'],
];

/* The table for the density 2: a velocity, the warning, no report, a
 * blank line, a decimal comma, a doubt and the zero velocity, as cells and
 * as the two CSV files (after the header, whose last cell says what made
 * the file and when). */
const diameters = '10\n1000\nabc\n\n2,65\n1.000\n3';
const doubt = 'mehrdeutig: gelesen als 1; für 1000 ohne Trennzeichen eingeben';
const cells = [
	['10', '10.0000', '0.0998', '0.0042', '0.6081'],
	['1000', '1000.0000', '99820.0000', '413.8116', 'Achtung: Reynolds-Zahl > 300'],
	['abc', 'Durchmesser: keine Zahl'],
	['', '', '', '', ''],
	['2,65', '2.6500', '0.0019', '0.0001', '0.0000'],
	[`1.000${doubt}`, '1.0000', '0.0001', '0.0000', '0.0000'],
	['3', '3.0000', '0.0027', '0.0001', '0.0000'],
];
const csv = [
	'"10","10.0000","2.0000","0.0998","0.0042","0.6081",""',
	'"1000","1000.0000","2.0000","99820.0000","413.8116","","Achtung: Reynolds-Zahl > 300"',
	'"abc","","","","","","Durchmesser: keine Zahl"',
	'"","","","","","",""',
	'"2,65","2.6500","2.0000","0.0019","0.0001","0.0000",""',
	`"1.000","1.0000","2.0000","0.0001","0.0000","0.0000","${doubt}"`,
	'"3","3.0000","2.0000","0.0027","0.0001","0.0000",""',
	'',
].join('\r\n');
const german = [
	'"10";"10,0000";"2,0000";"0,0998";"0,0042";"0,6081";""',
	'"1000";"1000,0000";"2,0000";"99820,0000";"413,8116";"";"Achtung: Reynolds-Zahl > 300"',
	'"abc";"";"";"";"";"";"Durchmesser: keine Zahl"',
	'"";"";"";"";"";"";""',
	'"2,65";"2,6500";"2,0000";"0,0019";"0,0001";"0,0000";""',
	`"1.000";"1,0000";"2,0000";"0,0001";"0,0000";"0,0000";"${doubt}"`,
	'"3";"3,0000";"2,0000";"0,0027";"0,0001";"0,0000";""',
	'',
].join('\r\n');
const headers = [
	/^\ufeff"Eingabe";"Durchmesser \(µm\)";"Dichte \(g\/cm³\)";"Bestzahl w";"Reynoldszahl Nre";"vs \(cm\/s\)";"Meldung";"erstellt mit absink [0-9.]+ am [0-9.]+, [0-9:]+"\r\n/,
	/^"Eingabe","d_um","rho_g_cm3","w","Nre","vs_cm_s","Meldung","absink [0-9.]+ [0-9-]+T[0-9:.]+Z"\r\n/,
];
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

	const heights = new Set();
	for (const [d, rho, dNote = '', rhoNote = '', {axe: audit, read, says} = {}] of cases) {
		await page.fill('input[name=d]', d);
		await page.fill('input[name=rho]', rho);
		assert.equal(await report.textContent(), absink(read || [d, rho]), `report for [${d}] [${rho}]`);
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
	assert.ok(await page.locator('#plot .drop').count() > 10, 'measured drops at density 1');
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

	await page.fill('input[name=rho]', '2');
	await page.fill('#diameters', diameters);
	const rows = await page.locator('#table tbody tr').evaluateAll(
		trs => trs.map(tr => [...tr.cells].map(td => td.textContent)));
	assert.deepEqual(rows, cells, 'the table');
	const [download] = await Promise.all([page.waitForEvent('download'), page.click('#csv')]);
	const files = [fs.readFileSync(await download.path(), 'utf8'),
		/* the link holds the table on the screen before any click */
		await page.evaluate(async () => (await fetch(document.getElementById('csv-point').href)).text())];
	for (const [i, body] of [german, csv].entries()) {
		assert.match(files[i], headers[i], `the CSV's header (${i})`);
		assert.equal(files[i].replace(headers[i], ''), body, `the CSV's rows (${i})`);
	}

	/* A record prints on one A4 page, a warning row, a note and the
	 * regime's sentence with it, the table cut after ten rows; a 320 px
	 * screen holds the page without scrolling sideways, and no cell of the
	 * table covers another there. */
	await page.fill('input[name=d]', '1.000');
	await page.fill('#diameters', ['1.000', '2000', ...Array.from({length: 40}, (_, i) => String(i + 1))].join('\n'));
	const pdf = (await page.pdf({preferCSSPageSize: true})).toString('latin1');
	assert.equal(pdf.match(/\/Type\s*\/Page\b/g).length, 1, 'the printout is one page');
	await page.emulateMedia({media: 'print'});
	assert.ok(await page.isVisible('#method dl'), 'the printout has the Rechenweg');
	assert.ok(await page.isVisible('#cut'), 'the printout says where it cut the table');
	await page.emulateMedia({media: 'screen'});
	for (const width of [320, 360]) {
		await page.setViewportSize({width, height: 640});
		assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), width, `nothing wider than ${width} px`);
		const covered = await page.$$eval('#table tr', trs => trs.some(tr => [...tr.cells].some((cell, k, all) =>
			k > 0 && all[k - 1].getBoundingClientRect().right > cell.getBoundingClientRect().left + 1)));
		assert.ok(!covered, `no cell covers another at ${width} px`);
		const pre = await page.$eval('#report', e => e.scrollWidth <= e.clientWidth);
		assert.ok(pre, `the report fits its box at ${width} px`);
	}
	await page.fill('input[name=d]', '100');

	await page.fill('#diameters', '10\n100\n1000\n3');
	await page.fill('input[name=rho]', '1');
	if (shot) {
		await page.setViewportSize({width: 360, height: 740});
		await page.screenshot({path: shot.replace(/\.png$/, '-phone.png'), fullPage: true});
		await page.setViewportSize({width: 1000, height: 740});
		await page.screenshot({path: shot, fullPage: true});
	}
	assert.deepEqual(problems, [], 'no error on the console');
	assert.deepEqual(requests.filter(u => !/^(blob|data):/.test(u)), [opened, long], 'no request but the page');
	await page.close();
	console.log(`${url}: ${cases.length} reports, the address, the plot, the table and its CSV: ok`);
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

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
 * and text that a browser or JavaScript would read otherwise; where given,
 * the notes beside the two fields, and "axe": axe-core finds nothing. */
const comma = 'nicht gelesen, das Dezimalzeichen ist der Punkt';
const cases = [
	['100', '1', '', '', 'axe'], ['1000', '2', '', '', 'axe'], ['3', '1'], ['abc', '1', 'Durchmesser: keine Zahl', '', 'axe'],
	['1,5', '1', `gelesen: 1 – „,5“ ${comma}`, ''], ['2,65', '1', `gelesen: 2 – „,65“ ${comma}`, ''],
	['10', '0', '', 'Dichte: nicht größer als 0'], ['', '1', 'Durchmesser: leer', ''], ['.5', '+5'], ['1e3', '1'],
	[' 12abc', '2.65 ', 'gelesen: 12 – „abc“ nicht gelesen', ''],
	['0x10', '1', 'Durchmesser: nicht größer als 0; gelesen: 0 – „x10“ nicht gelesen', ''], ['１０', '1'],
	['4', '1e39', '', 'Dichte: zu groß, über 3.4e38'], ['1ex', '1e-50', 'Durchmesser: nach dem e fehlt der Exponent',
		'Dichte: zu klein, unter 1.2e-38'],
	/* the longest argument Linux passes */
	['0'.repeat(131067) + '12.5', '1'],
];

/* The table for the density 2: a velocity, the warning, the usage screen,
 * a comma, and the zero velocity, as cells and as the two CSV files. */
const diameters = '10\n1000\nabc\n\n2,65\n3';
const usage = 'Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu) ' +
	'Aufruf: absink <Durchmesser (in mu)> <Dichte (in g/cm3)>';
const cells = [
	['10', '10.0000', '0.0998', '0.0042', '0.6081'],
	['1000', '1000.0000', '99820.0000', '413.8116', 'Achtung: Reynolds-Zahl > 300'],
	['abc', usage],
	[`2,65gelesen: 2 – „,65“ ${comma}`, '2.0000', '0.0008', '0.0000', '0.0000'],
	['3', '3.0000', '0.0027', '0.0001', '0.0000'],
];
const csv = [
	'"Eingabe","d_um","rho_g_cm3","w","Nre","vs_cm_s","Meldung"',
	'"10","10.0000","2.0000","0.0998","0.0042","0.6081",""',
	'"1000","1000.0000","2.0000","99820.0000","413.8116","","Achtung: Reynolds-Zahl > 300"',
	`"abc","","","","","","${usage}"`,
	'"2,65","2.0000","2.0000","0.0008","0.0000","0.0000",""',
	'"3","3.0000","2.0000","0.0027","0.0001","0.0000",""',
	'',
].join('\r\n');
const german = [
	'\ufeff"Eingabe";"Durchmesser (µm)";"Dichte (g/cm³)";"Bestzahl w";"Reynoldszahl Nre";"vs (cm/s)";"Meldung"',
	'"10";"10,0000";"2,0000";"0,0998";"0,0042";"0,6081";""',
	'"1000";"1000,0000";"2,0000";"99820,0000";"413,8116";"";"Achtung: Reynolds-Zahl > 300"',
	`"abc";"";"";"";"";"";"${usage}"`,
	'"2,65";"2,0000";"2,0000";"0,0008";"0,0000";"0,0000";""',
	'"3";"3,0000";"2,0000";"0,0027";"0,0001";"0,0000";""',
	'',
].join('\r\n');
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
	for (const [d, rho, dNote, rhoNote, audit] of cases) {
		await page.fill('input[name=d]', d);
		await page.fill('input[name=rho]', rho);
		assert.equal(await report.textContent(), absink([d, rho]), `report for [${d}] [${rho}]`);
		heights.add((await report.boundingBox()).height);
		for (const [name, note] of dNote === undefined ? [] : [['d', dNote], ['rho', rhoNote]]) {
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
		}, [d, rho], {timeout: 5000}); /* the address follows the fields */
	}
	assert.equal(heights.size, 1, 'the report keeps its height');

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
	await page.fill('input[name=d]', 'abc');
	assert.equal(await page.locator('#plot #mark').count(), 0, 'no mark for bad input');
	await page.fill('input[name=d]', '100');

	await page.fill('input[name=rho]', '2');
	await page.fill('#diameters', diameters);
	const rows = await page.locator('#table tbody tr').evaluateAll(
		trs => trs.map(tr => [...tr.cells].map(td => td.textContent)));
	assert.deepEqual(rows, cells, 'the table');
	const [download] = await Promise.all([page.waitForEvent('download'), page.click('#csv')]);
	assert.deepEqual(fs.readFileSync(await download.path()), Buffer.from(german), 'the CSV for spreadsheets');
	/* the link holds the table on the screen before any click */
	assert.equal(await page.evaluate(async () => (await fetch(document.getElementById('csv-point').href)).text()),
		csv, 'the CSV for scripts');

	/* A record of ten rows prints on one A4 page; a 320 px screen holds
	 * the page without scrolling sideways. */
	await page.fill('#diameters', Array.from({length: 10}, (_, i) => String(2 ** i)).join('\n'));
	const pdf = (await page.pdf({preferCSSPageSize: true})).toString('latin1');
	assert.equal(pdf.match(/\/Type\s*\/Page\b/g).length, 1, 'the printout is one page');
	await page.setViewportSize({width: 320, height: 640});
	assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 320, 'nothing wider than 320 px');

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

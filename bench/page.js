'use strict';
/*
 * Measures the web page (see bench/page): its size against 120 KiB; the
 * time from navigation to the first report against 300 ms, over fresh
 * page loads; the time from a keystroke to the updated report, notes,
 * plot and a table of 100 lines, and from a keystroke in a distribution
 * of 100 sizes to its split, against one frame (16 ms), for the page
 * updates all of them within the input event, so the event's handling is
 * the whole cost; and Lighthouse's scores, served on 127.0.0.1, against
 * 100 (performance: 95).
 */
const {execFile} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');

const file = path.resolve(process.argv[2]);
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const line = (what, figure, limit, unit, least) => {
	const [value, bound] = unit ? [`${figure.toFixed(1)} ${unit}`, `${limit} ${unit}`] : [String(figure), String(limit)];
	const within = least ? figure >= limit : figure <= limit;
	console.log(`${what.padEnd(34)} ${value.padStart(10)}  (at ${least ? 'least' : 'most'} ${bound})` +
		(within ? '' : least ? '  UNDER' : '  OVER'));
};

(async () => {
	line('page size', fs.statSync(file).size / 1024, 120, 'KiB');
	const home = fs.mkdtempSync(path.join(os.tmpdir(), 'absink-bench-'));
	const context = await chromium.launchPersistentContext(home, {
		executablePath: '/usr/bin/chromium',
		headless: true,
		args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
			'--disable-background-networking', '--disable-component-update', '--disable-sync'],
	});
	/* The moment the report first has text, from the navigation's start. */
	await context.addInitScript(() => {
		new MutationObserver((changes, observer) => {
			const report = document.getElementById('report');
			if (report && report.textContent) {
				window.firstReport = performance.now();
				observer.disconnect();
			}
		}).observe(document, {subtree: true, childList: true, characterData: true});
	});

	const loads = [];
	for (let i = 0; i < 10; i++) {
		const page = await context.newPage();
		await page.goto('file://' + file);
		await page.waitForFunction(() => window.firstReport !== undefined);
		loads.push(await page.evaluate(() => window.firstReport));
		await page.close();
	}
	line('navigation to first report', median(loads), 300, 'ms');
	line('  slowest of 10', Math.max(...loads), 300, 'ms');

	const page = await context.newPage();
	await page.goto('file://' + file);
	await page.waitForFunction(() => window.firstReport !== undefined);
	await page.fill('#diameters', Array.from({length: 100}, (_, i) => String(1 + i * 37)).join('\n'));
	/* Keystrokes in either field: the density redraws the curve and the
	 * table as well. */
	const series = {d: i => 1 + (i * 37) % 2000, rho: i => 0.5 + (i % 40) / 4};
	for (const [name, value] of Object.entries(series)) {
		const keys = await page.evaluate(([name, values]) => {
			const field = document.forms.particle[name];
			return values.map(v => {
				field.value = v;
				const start = performance.now();
				field.dispatchEvent(new InputEvent('input', {bubbles: true}));
				return performance.now() - start;
			}).sort((a, b) => a - b);
		}, [name, Array.from({length: 200}, (_, i) => String(value(i)))]);
		line(`keystroke in ${name}: median`, keys[100], 16, 'ms');
		line('  95th percentile', keys[190], 16, 'ms');
		line('  slowest of 200', keys[199], 16, 'ms');
	}
	/* A keystroke in a distribution of 100 sizes: the split, its record
	 * and its plot anew. */
	const splits = await page.evaluate(() => {
		const field = document.forms['split-form'].distribution;
		const lines = Array.from({length: 100}, (_, i) => `${(0.5 * 1.08 ** i).toFixed(3)}\t${(i + 0.5).toFixed(1)}`);
		return Array.from({length: 200}, (_, k) => {
			field.value = lines.join('\n') + (k % 2 ? '\n' : '');
			const start = performance.now();
			field.dispatchEvent(new InputEvent('input', {bubbles: true}));
			return performance.now() - start;
		}).sort((a, b) => a - b);
	});
	line('split of 100 sizes: median', splits[100], 16, 'ms');
	line('  95th percentile', splits[190], 16, 'ms');
	line('  slowest of 200', splits[199], 16, 'ms');
	await context.close();
	fs.rmSync(home, {recursive: true, force: true});

	const server = http.createServer((request, response) => {
		response.statusCode = request.url.startsWith('/absink.html') ? 200 : 404;
		response.setHeader('Content-Type', 'text/html; charset=utf-8');
		response.end(response.statusCode === 200 ? fs.readFileSync(file) : '');
	});
	await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
	const url = `http://127.0.0.1:${server.address().port}/absink.html?d=100&rho=1`;
	/* Lighthouse's default is a phone, slowed down. */
	for (const [form, preset] of [['mobile', []], ['desktop', ['--preset=desktop']]]) {
		const output = path.join(os.tmpdir(), `absink-lighthouse-${process.pid}.json`);
		await new Promise((resolve, reject) => execFile(process.env.LIGHTHOUSE,
			[url, ...preset, '--quiet', '--output=json', `--output-path=${output}`,
				'--chrome-flags=--headless=new --no-sandbox --disable-gpu'],
			error => error ? reject(error) : resolve()));
		const {categories} = JSON.parse(fs.readFileSync(output, 'utf8'));
		fs.rmSync(output);
		for (const [id, limit] of [['performance', 95], ['accessibility', 100], ['best-practices', 100], ['seo', 100]])
			line(`lighthouse ${form}: ${id}`, Math.round(categories[id].score * 100), limit, '', true);
	}
	server.close();
})();

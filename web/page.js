'use strict';
/* global absink */
/*
 * Wires the page to absink, compiled to WebAssembly (absink, emscripten's
 * module, stands before this script): every report, value, rule and note
 * shown here is the program's own.  One call of absink_particle a keystroke
 * (web/page.cpp) reads the two fields as the page reads them and gives, as
 * JSON, the notes, the report's text as absink prints it, its values and
 * verdict, the sentences and, for a new density, the plot's curve; one call
 * a line fills the table.
 */
const $ = id => document.getElementById(id);
const form = document.forms.particle;
const report = $('report');
const plot = $('plot');
const diameters = $('diameters');
const rows = document.querySelector('#table tbody');

/* Gunn and Kinzer's drops: diameter in mm, velocity in cm/s. */
const drops = $('gunn-kinzer').textContent.trim().split('\n')
	.filter(line => /^[0-9]/.test(line)).map(line => line.split(',').map(Number));

/* What the page shows: the fields as typed, their particle, its report,
 * the plot's curve for its density, and the table's lines with theirs
 * (null for a blank line). */
const state = {d: '', rho: '', particle: null, report: '', curve: null, lines: []};

const started = absink({printErr: line => console.error(line)});
/* Debian's emscripten gives the module with a promise "ready", later ones the promise. */
(started.ready || started).then(program => {
	/* What absink_particle adds to a particle: the report and its
	 * sentences, the plot's curve (web/page.cpp). */
	const [withReport, withCurve] = [1, 2];
	const particle = (d, rho, shown = 0) =>
		JSON.parse(program.ccall('absink_particle', 'string', ['string', 'string', 'number'], [d, rho, shown]));

	/* The plot, in CSS pixels of its box, so that its labels keep their
	 * size on every screen: log10 d from 0 to 4 (1 um to 1 cm), log10 vs
	 * from -3 to 4. */
	let box, x, y;
	const svg = (name, attributes, text) => {
		const node = document.createElementNS('http://www.w3.org/2000/svg', name);
		for (const [key, value] of Object.entries(attributes))
			node.setAttribute(key, value);
		if (text !== undefined)
			node.textContent = text;
		return node;
	};
	const power = k => '10' + String(k).replace(/./g, c => '⁻⁰¹²³⁴⁵⁶⁷⁸⁹'['-0123456789'.indexOf(c)]);
	const curve = svg('g', {'clip-path': 'url(#area)'});
	const mark = svg('g', {});

	/* The frame, for the box's size; hatching for the ranges where the
	 * report gives zero and where it warns. */
	let size;
	function frame() {
		const width = plot.clientWidth || 640;
		const height = plot.clientHeight || 400;
		size = width + 'x' + height;
		plot.setAttribute('viewBox', `0 0 ${width} ${height}`);
		box = {left: 50, right: width - 12, top: 12, bottom: height - 40};
		x = d => box.left + Math.log10(d) / 4 * (box.right - box.left);
		y = v => box.bottom - (Math.log10(v) + 3) / 7 * (box.bottom - box.top);
		const area = {x: box.left, y: box.top, width: box.right - box.left, height: box.bottom - box.top};
		const defs = svg('defs', {});
		defs.append(svg('clipPath', {id: 'area'}));
		defs.firstChild.append(svg('rect', area));
		for (const [kind, angle] of [['warn', 45], ['zero', -45]]) {
			const hatch = svg('pattern', {id: kind, width: 8, height: 8, patternUnits: 'userSpaceOnUse',
				patternTransform: `rotate(${angle})`});
			hatch.append(svg('rect', {class: kind + '-bg', width: 8, height: 8}),
				svg('line', {class: kind + '-line', x1: 0, y1: 0, x2: 0, y2: 8}));
			defs.append(hatch);
		}
		const parts = [defs];
		for (let k = 0; k <= 4; k++)
			parts.push(svg('line', {class: 'grid', x1: x(10 ** k), x2: x(10 ** k), y1: box.top, y2: box.bottom}),
				svg('text', {x: x(10 ** k), y: box.bottom + 16, 'text-anchor': 'middle'}, power(k)));
		for (let k = -3; k <= 4; k++)
			parts.push(svg('line', {class: 'grid', x1: box.left, x2: box.right, y1: y(10 ** k), y2: y(10 ** k)}),
				svg('text', {x: box.left - 5, y: y(10 ** k) + 4, 'text-anchor': 'end'}, power(k)));
		parts.push(curve, svg('rect', {class: 'axis', ...area}), mark,
			svg('text', {x: (box.left + box.right) / 2, y: box.bottom + 34, 'text-anchor': 'middle'},
				'Durchmesser d (in µm)'),
			svg('text', {transform: `translate(13 ${(box.top + box.bottom) / 2}) rotate(-90)`,
				'text-anchor': 'middle'}, 'vs (in cm/s)'));
		plot.replaceChildren(...parts);
	}

	/* The curve where the report gives a velocity; hatched bands, each
	 * named, where it gives zero or warns: the kind of each point by its
	 * verdict, the library's enum (sedimentation.h). */
	const kinds = ['curve', 'zero', 'warn', 'warn'];
	function drawCurve(plotted) {
		if (!plotted)
			return curve.replaceChildren();
		const parts = [];
		const bands = [];
		let path = '';
		let pen = 'M';
		for (const [d, v, verdict] of plotted.points) {
			const kind = kinds[verdict];
			const last = bands[bands.length - 1];
			if (last && last.kind === kind)
				last.to = d;
			else
				bands.push({kind, from: d, to: d});
			if (kind === 'curve') {
				path += pen + x(d).toFixed(1) + ' ' + y(v).toFixed(1);
				pen = 'L';
			} else {
				pen = 'M';
			}
		}
		for (const band of bands.filter(b => b.kind !== 'curve')) {
			const [left, right] = [x(band.from), Math.max(x(band.to), x(band.from) + 1)];
			const [middle, across] = [(left + right) / 2, (box.top + box.bottom) / 2];
			parts.push(svg('rect', {class: band.kind + '-line', fill: `url(#${band.kind})`,
				x: left, y: box.top, width: right - left, height: box.bottom - box.top}));
			const name = band.kind === 'warn' ? 'Warnung' : 'vs = 0';
			if (right - left > 16)
				parts.push(svg('text', {class: 'label', x: middle, y: across, 'text-anchor': 'middle',
					transform: right - left > 64 ? '' : `rotate(-90 ${middle} ${across}) translate(0 4)`}, name));
		}
		const limit = plotted.stokes;
		parts.push(svg('line', {class: 'limit', x1: x(limit), x2: x(limit), y1: box.top, y2: box.bottom}),
			svg('text', {class: 'label', x: x(limit) - 4, y: box.top + 14, 'text-anchor': 'end'}, 'Stokes'),
			svg('text', {class: 'label', x: x(limit) + 4, y: box.top + 14}, 'Beard'),
			svg('path', {class: 'curve', d: path}));
		if (plotted.density === 1)
			for (const [mm, v] of drops)
				parts.push(svg('circle', {class: 'drop', cx: x(mm * 1000), cy: y(v), r: 3.5}));
		curve.replaceChildren(...parts);
	}

	/* The particle: a dot where it lies inside the axes; outside them (the
	 * warning above, vs = 0 below, d beyond either end) an arrow on the
	 * frame that points the way out, so that no dot reads as a value of
	 * the frame.  The curve is drawn anew for a new density. */
	let drawn;
	function draw(p, plotted) {
		if (plotted !== undefined)
			drawCurve(plotted);
		drawn = p;
		if (!p.values)
			return mark.replaceChildren();
		const kind = kinds[p.verdict];
		const [px, py] = [x(Number(p.values.d)), {curve: y(p.velocity), zero: Infinity, warn: -Infinity}[kind]];
		const [cx, cy] = [Math.min(Math.max(px, box.left), box.right), Math.min(Math.max(py, box.top), box.bottom)];
		if (cx === px && cy === py)
			return mark.replaceChildren(svg('circle', {class: 'mark', id: 'mark', r: 6, cx, cy}));
		const angle = Math.atan2(py === cy ? 0 : Math.sign(py - cy), px === cx ? 0 : Math.sign(px - cx)) * 180 / Math.PI;
		mark.replaceChildren(svg('path', {class: 'mark', id: 'mark', d: 'M 9 0 L -5 -7 L -5 7 Z',
			transform: `translate(${cx} ${cy}) rotate(${angle})`}));
	}

	/* The table, one row per line, a blank line a blank row; and the same
	 * as CSV in each dialect that a link declares (its separator, decimal
	 * sign, byte-order mark, header and what-made-it cell), every cell
	 * quoted, since LibreOffice also splits at commas unless told
	 * otherwise.  The links always hold the table on the screen, for "save
	 * link as" too: as data addresses, which cost a tenth of a blob's. */
	const message = p => [p.warning, p.d.fault || p.rho.fault, p.d.note].filter(Boolean).join('; ');
	function tabulate() {
		rows.replaceChildren();
		for (const [line, p] of state.lines) {
			const tr = rows.insertRow();
			const input = tr.insertCell();
			input.className = 'text';
			input.textContent = line;
			if (!p) {
				for (let i = 0; i < 4; i++)
					tr.insertCell();
				continue;
			}
			if (p.d.note)
				input.append(Object.assign(document.createElement('p'), {className: 'note', textContent: p.d.note}));
			if (!p.values) {
				Object.assign(tr.insertCell(), {className: 'text message', colSpan: 4,
					textContent: p.d.fault || p.rho.fault});
				continue;
			}
			for (const value of [p.values.d, p.values.w, p.values.nre])
				tr.insertCell().textContent = value;
			const last = tr.insertCell();
			last.textContent = p.values.vs || p.warning;
			if (p.warning)
				last.className = 'text';
		}
		const now = new Date();
		for (const link of [$('csv'), $('csv-point')]) {
			const {separator, decimal, bom, header, made} = link.dataset;
			const cell = text => '"' + text.replace(/"/g, '""') + '"';
			const lines = [[...header.split(';'), made.replace('{de}', now.toLocaleString('de-DE'))
				.replace('{iso}', now.toISOString())]];
			for (const [line, p] of state.lines) {
				const v = p && p.values;
				const numbers = v ? [v.d, v.rho, v.w, v.nre, v.vs] : ['', '', '', '', ''];
				lines.push([line, ...numbers.map(n => n.replace('.', decimal)), p ? message(p) : '']);
			}
			link.href = 'data:text/csv;charset=utf-8,' +
				encodeURIComponent(bom + lines.map(cells => cells.map(cell).join(separator) + '\r\n').join(''));
		}
		const cut = $('cut');
		cut.hidden = state.lines.length <= 10;
		cut.querySelector('[data-printed]').textContent = 10;
		cut.querySelector('[data-rows]').textContent = state.lines.length;
	}
	function table(rho) {
		const lines = diameters.value.replace(/\n$/, '').split('\n');
		state.lines = lines.map(line => [line, line.trim() === '' ? null : particle(line, rho)]);
		tabulate();
	}

	/* Each field's note beside it, marked on the field; the inputs as typed
	 * and as read for the printout. */
	function annotate(name, f) {
		const note = $(name + '-note');
		note.textContent = [f.fault, f.note].filter(Boolean).join('; ');
		const field = form[name];
		for (const [key, marked] of [['aria-invalid', 'true'], ['aria-describedby', note.id]])
			if (note.textContent)
				field.setAttribute(key, marked);
			else
				field.removeAttribute(key);
		return `${field.labels[0].textContent}: eingegeben ${f.typed}, gelesen ${f.value || 'nichts'}` +
			(note.textContent ? ` – ${note.textContent}` : '');
	}
	/* The time of printing: set as the browser prints, and kept current
	 * meanwhile for a printout that fires no event (a headless browser's). */
	const stamp = () => {
		$('printed').textContent = new Date().toLocaleString('de-DE');
	};
	addEventListener('beforeprint', stamp);

	let pausing;
	function update() {
		const [d, rho] = [form.d.value, form.rho.value];
		const rhoChanged = rho !== state.rho;
		const p = state.particle = particle(d, rho, withReport | (rhoChanged ? withCurve : 0));
		Object.assign(state, {d, rho, report: p.report}, rhoChanged ? {curve: p.curve} : {});
		report.textContent = p.report;
		$('explanation').textContent = p.sentence;
		$('inputs').textContent = [annotate('d', p.d), annotate('rho', p.rho)].join('\n');
		draw(p, rhoChanged ? p.curve : undefined);
		if (rhoChanged)
			table(p.rho.argument);
		stamp();
		/* A new address costs more than all the rest, and a screen reader
		 * would read every keystroke's report: both once typing pauses.
		 * The address keeps what was typed. */
		clearTimeout(pausing);
		pausing = setTimeout(() => {
			$('status').textContent = p.brief;
			try {
				history.replaceState(null, '', '?' + new URLSearchParams({d, rho}));
			} catch (e) {
				/* some browsers keep file:// addresses as they are */
			}
		}, 300);
	}

	/* A field takes 131071 characters at the most (its maxlength), the
	 * longest argument Linux passes; the address is held to the same, since
	 * the text goes to the program on its stack. */
	const query = new URLSearchParams(location.search);
	for (const name of ['d', 'rho'])
		if (query.has(name))
			form[name].value = query.get(name).slice(0, form[name].maxLength);
	form.addEventListener('input', update);
	form.addEventListener('submit', event => event.preventDefault());
	diameters.addEventListener('input', () => table(state.particle.rho.argument));
	/* The plot follows its box's size: a phone turned, a window resized. */
	new ResizeObserver(() => {
		if (size === plot.clientWidth + 'x' + plot.clientHeight)
			return;
		frame();
		draw(drawn, state.curve);
	}).observe(plot);
	frame();
	update();
});

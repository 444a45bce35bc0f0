'use strict';
/* global absink */
/*
 * Wires the page to absink, compiled to WebAssembly (absink, emscripten's
 * module, stands before this script): every report, value, rule and note
 * shown here is the program's own.  One call of absink_particle a keystroke
 * (web/page.cpp) reads the two fields as the page reads them and gives, as
 * JSON, the notes, the report's text as absink prints it, its values and
 * what it shows in place of vs, the sentences, the particle's steps, the
 * equivalent command line and, for a new density, the plot's curve; one
 * call a line fills the table.
 */
const $ = id => document.getElementById(id);
const form = document.forms.particle;
const report = $('report');
const diameters = $('diameters');
const rows = document.querySelector('#table tbody');

/* Gunn and Kinzer's drops: diameter in mm, velocity in cm/s. */
const drops = $('gunn-kinzer').textContent.trim().split('\n')
	.filter(line => /^[0-9]/.test(line)).map(line => line.split(',').map(Number));

/* What the page shows: the fields as typed, their particle, its report,
 * the plot's curve for its density, and the table's lines with theirs
 * (null for a blank line). */
const state = {d: '', rho: '', particle: null, report: '', curve: null, lines: []};

const element = (name, text) => Object.assign(document.createElement(name), {textContent: text});
const svg = (name, attributes, text) => {
	const node = document.createElementNS('http://www.w3.org/2000/svg', name);
	for (const [key, value] of Object.entries(attributes))
		node.setAttribute(key, value);
	if (text !== undefined)
		node.textContent = text;
	return node;
};
const power = k => '10' + String(k).replace(/./g, c => '⁻⁰¹²³⁴⁵⁶⁷⁸⁹'['-0123456789'.indexOf(c)]);

/*
 * A plot in the svg node: log10 d from 0 to 4 (1 um to 1 cm), log10 vs
 * from -3 to 4.  On the screen in CSS pixels of its box, so that its labels
 * keep their size on every screen; with fixed, in its viewBox, which is
 * the size it prints at (8.5 cm at 96 px an inch), so that its 10 px
 * labels print at 7.5 pt.  prefix keeps the ids of two plots apart.
 */
function plotter(node, prefix, fixed) {
	let box, x, y, size, drawn, plotted;
	const curve = svg('g', {'clip-path': `url(#${prefix}area)`});
	const mark = svg('g', {});

	/* The frame, for the box's size; hatching for the ranges where the
	 * report gives zero and where it warns. */
	function frame() {
		const [width, height] = fixed ? [node.viewBox.baseVal.width, node.viewBox.baseVal.height]
			: [node.clientWidth || 640, node.clientHeight || 400];
		size = width + 'x' + height;
		node.setAttribute('viewBox', `0 0 ${width} ${height}`);
		box = {left: 50, right: width - 12, top: 12, bottom: height - 40};
		x = d => box.left + Math.log10(d) / 4 * (box.right - box.left);
		y = v => box.bottom - (Math.log10(v) + 3) / 7 * (box.bottom - box.top);
		const area = {x: box.left, y: box.top, width: box.right - box.left, height: box.bottom - box.top};
		const defs = svg('defs', {});
		defs.append(svg('clipPath', {id: prefix + 'area'}));
		defs.firstChild.append(svg('rect', area));
		for (const [kind, angle] of [['warn', 45], ['zero', -45]]) {
			const hatch = svg('pattern', {id: prefix + kind, width: 8, height: 8, patternUnits: 'userSpaceOnUse',
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
		node.replaceChildren(...parts);
	}

	/* The curve where the report gives a velocity; hatched bands, each
	 * named, where it gives zero or warns. */
	function drawCurve() {
		if (!plotted)
			return curve.replaceChildren();
		const parts = [];
		const bands = [];
		let path = '';
		let pen = 'M';
		for (const [d, v, kind] of plotted.points) {
			const last = bands[bands.length - 1];
			if (last && last.kind === kind)
				last.to = d;
			else
				bands.push({kind, from: d, to: d});
			if (kind === 'velocity') {
				path += pen + x(d).toFixed(1) + ' ' + y(v).toFixed(1);
				pen = 'L';
			} else {
				pen = 'M';
			}
		}
		for (const band of bands.filter(b => b.kind !== 'velocity')) {
			const [left, right] = [x(band.from), Math.max(x(band.to), x(band.from) + 1)];
			const [middle, across] = [(left + right) / 2, (box.top + box.bottom) / 2];
			parts.push(svg('rect', {class: band.kind + '-line', fill: `url(#${prefix}${band.kind})`,
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
				parts.push(svg('circle', {class: 'drop', cx: x(mm * 1000), cy: y(v), r: fixed ? 2.5 : 3.5}));
		curve.replaceChildren(...parts);
	}

	/* The particle: a dot where it lies inside the axes; outside them (the
	 * warning above, vs = 0 below, d beyond either end) an arrow on the
	 * frame that points the way out, so that no dot reads as a value of
	 * the frame.  The curve is drawn anew for a new density. */
	function draw(p, curveOfDensity) {
		if (curveOfDensity !== undefined) {
			plotted = curveOfDensity;
			drawCurve();
		}
		drawn = p;
		if (!p.values)
			return mark.replaceChildren();
		const [px, py] = [x(Number(p.values.d)), {velocity: y(p.velocity), zero: Infinity, warn: -Infinity}[p.shown]];
		const [cx, cy] = [Math.min(Math.max(px, box.left), box.right), Math.min(Math.max(py, box.top), box.bottom)];
		const id = prefix + 'mark';
		if (cx === px && cy === py)
			return mark.replaceChildren(svg('circle', {class: 'mark', id, r: fixed ? 4 : 6, cx, cy}));
		const angle = Math.atan2(py === cy ? 0 : Math.sign(py - cy), px === cx ? 0 : Math.sign(px - cx)) * 180 / Math.PI;
		mark.replaceChildren(svg('path', {class: 'mark', id, d: 'M 9 0 L -5 -7 L -5 7 Z',
			transform: `translate(${cx} ${cy}) rotate(${angle})`}));
	}

	/* A box of a new size (a phone turned, a window resized): drawn anew. */
	function resized() {
		if (fixed || size === node.clientWidth + 'x' + node.clientHeight)
			return;
		frame();
		drawCurve();
		if (drawn)
			draw(drawn);
	}
	frame();
	return {draw, resized};
}

/* The ZIP container of a workbook: its files stored, each with its CRC-32
 * (the polynomial 0xEDB88320, reflected), names in UTF-8, at the time
 * given. */
const crcTable = [];
for (let n = 0; n < 256; n++) {
	let c = n;
	for (let k = 0; k < 8; k++)
		c = c & 1 ? 0xedb88320 ^ c >>> 1 : c >>> 1;
	crcTable.push(c >>> 0);
}
function zip(files, time) {
	const dos = [time.getHours() << 11 | time.getMinutes() << 5 | time.getSeconds() >> 1,
		(time.getFullYear() - 1980) << 9 | (time.getMonth() + 1) << 5 | time.getDate()];
	const encoder = new TextEncoder();
	const [parts, directory] = [[], []];
	let offset = 0;
	/* A record of little-endian fields, [bytes, value] each. */
	const record = fields => {
		const view = new DataView(new ArrayBuffer(fields.reduce((n, [bytes]) => n + bytes, 0)));
		let at = 0;
		for (const [bytes, value] of fields) {
			view[bytes === 4 ? 'setUint32' : 'setUint16'](at, value, true);
			at += bytes;
		}
		return view;
	};
	for (const [name, text] of files) {
		const [path, data] = [encoder.encode(name), encoder.encode(text)];
		let crc = 0xffffffff;
		for (const byte of data)
			crc = crcTable[(crc ^ byte) & 0xff] ^ crc >>> 8;
		crc = (crc ^ 0xffffffff) >>> 0;
		/* version 2.0, UTF-8 names, stored, time, date, CRC, sizes */
		const common = [[2, 20], [2, 0x800], [2, 0], [2, dos[0]], [2, dos[1]], [4, crc], [4, data.length],
			[4, data.length], [2, path.length]];
		parts.push(record([[4, 0x04034b50], ...common, [2, 0]]), path, data);
		directory.push(record([[4, 0x02014b50], [2, 20], ...common, [2, 0], [2, 0], [2, 0], [2, 0], [4, 0],
			[4, offset]]), path);
		offset += 30 + path.length + data.length;
	}
	const size = directory.reduce((n, part) => n + part.byteLength, 0);
	return new Blob([...parts, ...directory, record([[4, 0x06054b50], [2, 0], [2, 0], [2, files.length],
		[2, files.length], [4, size], [4, offset], [2, 0]])],
	{type: 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet'});
}

/*
 * A workbook of one sheet (Office Open XML, as Excel and LibreOffice read
 * it in any language): a cell is text, kept as typed (style 2, the text
 * format @), or {n}, a number that shows its four decimals (style 1).  The
 * first row is the header (style 3, bold) and stays in view.
 */
const main = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main';
const relations = 'http://schemas.openxmlformats.org/package/2006/relationships';
const officeRelation = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships';
/* Characters that XML 1.0 does not allow, and its three of markup. */
/* eslint-disable-next-line no-control-regex */
const xml = text => text.replace(/[\0-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]/g, '\ufffd')
	.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
function workbook(table, time) {
	const head = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n';
	const type = kind => `application/vnd.openxmlformats-officedocument.spreadsheetml.${kind}+xml`;
	const sheet = table.map((cells, i) => `<row r="${i + 1}">` + cells.map((cell, k) => {
		const at = String.fromCharCode(65 + k) + (i + 1);
		if (cell === '')
			return '';
		return typeof cell === 'object' ? `<c r="${at}" s="1"><v>${cell.n}</v></c>`
			: `<c r="${at}" s="${i ? 2 : 3}" t="inlineStr"><is><t xml:space="preserve">${xml(cell)}</t></is></c>`;
	}).join('') + '</row>').join('');
	const widths = [16, 12, 12, 12, 12, 12, 70].map((width, k) =>
		`<col min="${k + 1}" max="${k + 1}" width="${width}" customWidth="1"/>`).join('');
	return zip([
		['[Content_Types].xml', `${head}<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">` +
			`<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>` +
			`<Default Extension="xml" ContentType="application/xml"/>` +
			`<Override PartName="/xl/workbook.xml" ContentType="${type('sheet.main')}"/>` +
			`<Override PartName="/xl/worksheets/sheet1.xml" ContentType="${type('worksheet')}"/>` +
			`<Override PartName="/xl/styles.xml" ContentType="${type('styles')}"/></Types>`],
		['_rels/.rels', `${head}<Relationships xmlns="${relations}"><Relationship Id="rId1" ` +
			`Type="${officeRelation}/officeDocument" Target="xl/workbook.xml"/></Relationships>`],
		['xl/workbook.xml', `${head}<workbook xmlns="${main}" xmlns:r="${officeRelation}"><sheets>` +
			'<sheet name="absink" sheetId="1" r:id="rId1"/></sheets></workbook>'],
		['xl/_rels/workbook.xml.rels', `${head}<Relationships xmlns="${relations}">` +
			`<Relationship Id="rId1" Type="${officeRelation}/worksheet" Target="worksheets/sheet1.xml"/>` +
			`<Relationship Id="rId2" Type="${officeRelation}/styles" Target="styles.xml"/></Relationships>`],
		['xl/styles.xml', `${head}<styleSheet xmlns="${main}">` +
			'<numFmts count="1"><numFmt numFmtId="164" formatCode="0.0000"/></numFmts>' +
			'<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>' +
			'<font><b/><sz val="11"/><name val="Calibri"/></font></fonts>' +
			'<fills count="2"><fill><patternFill patternType="none"/></fill>' +
			'<fill><patternFill patternType="gray125"/></fill></fills>' +
			'<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>' +
			'<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>' +
			'<cellXfs count="4"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>' +
			'<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>' +
			'<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>' +
			'<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>' +
			'</styleSheet>'],
		['xl/worksheets/sheet1.xml', `${head}<worksheet xmlns="${main}"><sheetViews><sheetView workbookViewId="0">` +
			'<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/></sheetView></sheetViews>' +
			`<cols>${widths}</cols><sheetData>${sheet}</sheetData></worksheet>`],
	], time);
}

const started = absink({printErr: line => console.error(line)});
/* Debian's emscripten gives the module with a promise "ready", later ones the promise. */
(started.ready || started).then(program => {
	/* What absink_particle adds to a particle: the report, its sentences
	 * and steps; the plot's curve; a table's line (web/page.cpp). */
	const [withReport, withCurve, asLine] = [1, 2, 4];
	const particle = (d, rho, shown = 0) =>
		JSON.parse(program.ccall('absink_particle', 'string', ['string', 'string', 'number'], [d, rho, shown]));
	const plots = [plotter($('plot'), '', false), plotter($('plot-print'), 'print-', true)];

	/* The time of a printout or a download, with its time zone. */
	const zone = Intl.DateTimeFormat().resolvedOptions().timeZone;
	const two = n => String(n).padStart(2, '0');
	function moment(now) {
		const local = now.toLocaleString('de-DE', {timeZoneName: 'short'});
		return {de: local.endsWith(zone) ? local : `${local} (${zone})`, iso: now.toISOString(),
			name: `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}-` +
				`${two(now.getHours())}${two(now.getMinutes())}`};
	}

	/* What the reading of a row left in doubt; and its message: its
	 * warning and why, why vs is 0, why no report, and those notes. */
	const notes = p => [p.d.note, p.rho.note && `Dichte: ${p.rho.note}`].filter(Boolean);
	const message = p => [p.warning, p.reason, p.d.fault || p.rho.fault, ...notes(p)].filter(Boolean).join('; ');

	/* The table, one row per line, a blank line a blank row; each row a
	 * copy of one whose cells are labelled with their columns, for the
	 * cards that rows become on a phone. */
	const blank = document.createElement('tr');
	for (const th of document.querySelectorAll('#table th'))
		blank.insertCell().dataset.label = th.dataset.short || th.textContent;
	blank.cells[0].className = 'text';
	blank.cells[5].className = 'result';
	const note = (text, className) => Object.assign(element('p', text), {className});
	function tabulate() {
		rows.replaceChildren();
		for (const [line, p] of state.lines) {
			const tr = rows.appendChild(blank.cloneNode(true));
			const cells = tr.cells;
			cells[0].textContent = line;
			if (!p) {
				tr.className = 'blank';
				continue;
			}
			for (const text of notes(p))
				cells[0].append(note(text, 'note'));
			if (!p.values) {
				while (cells.length > 2)
					cells[2].remove();
				Object.assign(cells[1], {textContent: p.d.fault || p.rho.fault, className: 'text message', colSpan: 5});
				delete cells[1].dataset.label;
				continue;
			}
			const {d, rho, w, nre, vs} = p.values;
			for (const [k, value] of [d, rho, w, nre, vs || p.warning].entries())
				cells[k + 1].textContent = value;
			if (p.warning)
				cells[5].className = 'text result';
			/* Why a row has no velocity, or 0, under its input, where a
			 * text may wrap: the result's column stays narrow enough to
			 * stay in view. */
			if (p.reason)
				cells[0].append(note(p.reason, 'note why'));
		}
	}

	/* The table as a file of the link's kind, named and stamped with the
	 * moment it is asked for (a press, a click, the context menu's "save
	 * link as", the keyboard's focus), not made anew a keystroke: a
	 * workbook, or CSV with comma and decimal point, every cell quoted, as
	 * many cells a line as the header has, the last line saying what made
	 * it and when. */
	const offered = new Map();
	function offer(link, now = new Date()) {
		const when = moment(now);
		const project = form.vorhaben.value.trim();
		const made = link.dataset.made.replace('{de}', when.de).replace('{iso}', when.iso) +
			(project ? ` · Vorhaben: ${project}` : '');
		const header = link.dataset.header.split(';');
		const table = state.lines.map(([line, p]) => {
			const v = p && p.values;
			const numbers = v ? [v.d, v.rho, v.w, v.nre, v.vs] : ['', '', '', '', ''];
			return [line, ...numbers, p ? message(p) : ''];
		});
		let file;
		if (link.id === 'xlsx') {
			file = workbook([header, ...table.map(([line, ...rest]) =>
				[line, ...rest.slice(0, 5).map(n => n && {n}), rest[5]]), [], [made]], now);
		} else {
			const cell = text => '"' + text.replace(/"/g, '""') + '"';
			const lines = [header, ...table, [made, ...header.slice(1).map(() => '')]];
			file = new Blob([lines.map(cells => cells.map(cell).join(',') + '\r\n').join('')], {type: 'text/csv'});
		}
		URL.revokeObjectURL(offered.get(link));
		offered.set(link, URL.createObjectURL(file));
		link.href = offered.get(link);
		link.download = `absink-${when.name}.${link.id}`;
	}
	for (const link of [$('xlsx'), $('csv')])
		for (const event of ['pointerdown', 'click', 'contextmenu', 'focus'])
			link.addEventListener(event, () => offer(link));

	function table(rho) {
		const lines = diameters.value.replace(/\n$/, '').split('\n');
		state.lines = lines.map(line => [line, line.trim() === '' ? null : particle(line, rho, asLine)]);
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
	/* A CSS string: no control characters, quotes and backslashes escaped. */
	/* eslint-disable-next-line no-control-regex */
	const quoted = text => '"' + text.replace(/[\\"]/g, '\\$&').replace(/[\0-\x1f]/g, ' ') + '"';
	/* The time of printing, with the project, in the record and on every
	 * page: set as the browser prints, and kept current meanwhile for a
	 * printout that fires no event (a headless browser's). */
	function stamp() {
		const printed = moment(new Date()).de;
		const project = form.vorhaben.value.trim();
		$('printed').textContent = printed;
		$('project-line').textContent = project ? ` · Vorhaben: ${project}` : '';
		$('running').textContent = `@page { @top-right { content: ${quoted('gedruckt am ' + printed)} } ` +
			`@bottom-left { content: ${quoted(project ? 'Vorhaben: ' + project : '')} } }`;
	}
	addEventListener('beforeprint', stamp);

	let pausing;
	function update() {
		const [d, rho, project] = [form.d.value, form.rho.value, form.vorhaben.value];
		const rhoChanged = rho !== state.rho;
		const p = state.particle = particle(d, rho, withReport | (rhoChanged ? withCurve : 0));
		Object.assign(state, {d, rho, report: p.report}, rhoChanged ? {curve: p.curve} : {});
		report.textContent = p.report;
		$('explanation').textContent = p.sentence;
		$('command').textContent = p.command;
		$('steps').replaceChildren(...p.steps.flatMap(([term, text]) => [element('dt', term), element('dd', text)]));
		$('inputs').textContent = [annotate('d', p.d), annotate('rho', p.rho)].join('\n');
		$('field-density').textContent = p.rho.value ? `${p.rho.value} g/cm³` : p.rho.fault;
		for (const plot of plots)
			plot.draw(p, rhoChanged ? p.curve : undefined);
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
				history.replaceState(null, '', '?' + new URLSearchParams({d, rho, ...project ? {vorhaben: project} : {}}));
			} catch (e) {
				/* some browsers keep file:// addresses as they are */
			}
		}, 300);
	}

	/* A field takes 131071 characters at the most (its maxlength), the
	 * longest argument Linux passes; the address is held to the same, since
	 * the text goes to the program on its stack. */
	const query = new URLSearchParams(location.search);
	for (const name of ['d', 'rho', 'vorhaben'])
		if (query.has(name))
			form[name].value = query.get(name).slice(0, form[name].maxLength);
	form.addEventListener('input', update);
	form.addEventListener('submit', event => event.preventDefault());
	diameters.addEventListener('input', () => table(state.particle.rho.argument));
	new ResizeObserver(() => plots[0].resized()).observe($('plot'));
	update();
});

'use strict';
/* global absink, plotter, cumulative, workbook */
/*
 * Wires the page to absink, compiled to WebAssembly (absink, emscripten's
 * module, stands before this script; the plot and the workbook writer,
 * plot.js and workbook.js, too): every report, value, rule and note shown
 * here is the program's own.  One call of absink_particle a keystroke
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
const state = {d: '', rho: '', particle: null, report: '', curve: null, lines: [], split: null};
const splitForm = document.forms['split-form'];

const element = (name, text) => Object.assign(document.createElement(name), {textContent: text});

const started = absink({printErr: line => console.error(line)});
/* Debian's emscripten gives the module with a promise "ready", later ones the promise. */
(started.ready || started).then(program => {
	/* What absink_particle adds to a particle: the report, its sentences
	 * and steps; the plot's curve; a table's line; the method's numbers
	 * (web/page.cpp). */
	const [withReport, withCurve, asLine, withMethod] = [1, 2, 4, 8];
	const particle = (d, rho, shown = 0) =>
		JSON.parse(program.ccall('absink_particle', 'string', ['string', 'string', 'number'], [d, rho, shown]));
	/* The model's numbers and the report's warning in the method section,
	 * from their homes in the program. */
	const {method} = particle('', '', withMethod);
	for (const span of document.querySelectorAll('[data-model]'))
		span.textContent = method[span.dataset.model];
	const plots = [plotter($('plot'), '', false, drops), plotter($('plot-print'), 'print-', true, drops)];

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
	const message = p => [p.warning, p.reason, p.aerodynamic && p.aerodynamic.reason, p.d.fault || p.rho.fault,
		...notes(p)].filter(Boolean).join('; ');

	/* The table, one row per line, a blank line a blank row; each row a
	 * copy of one whose cells are labelled with their columns, for the
	 * cards that rows become on a phone. */
	const blank = document.createElement('tr');
	for (const th of document.querySelectorAll('#table th'))
		blank.insertCell().dataset.label = th.dataset.short || th.textContent;
	blank.cells[0].className = 'text';
	blank.cells[7].className = 'result';
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
				Object.assign(cells[1], {textContent: p.d.fault || p.rho.fault, className: 'text message', colSpan: 7});
				delete cells[1].dataset.label;
				continue;
			}
			const {d, rho, w, nre, vs} = p.values;
			const {da, class: sizeClass, reason} = p.aerodynamic;
			for (const [k, value] of [d, rho, w, nre, da || '–', sizeClass || '–', vs || p.warning].entries())
				cells[k + 1].textContent = value;
			if (p.warning)
				cells[7].className = 'text result';
			/* Why a row has no velocity, or 0, or no aerodynamic
			 * diameter, under its input, where a text may wrap: the
			 * result's column stays narrow enough to stay in view. */
			for (const why of [p.reason, reason].filter(Boolean))
				cells[0].append(note(why, 'note why'));
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
		const header = link.dataset.header.replace('{source}', state.particle.classSource).split(';');
		const table = state.lines.map(([line, p]) => {
			const v = p && p.values;
			const numbers = v ? [v.d, v.rho, v.w, v.nre, v.vs] : ['', '', '', '', ''];
			const a = v ? [p.aerodynamic.da, String(p.aerodynamic.class || '')] : ['', ''];
			return [line, ...numbers, p ? message(p) : '', ...a];
		});
		/* The split, where there is one, after a blank row: each class's
		 * share with its bounds and mass flow. */
		const s = state.split && !state.split.message ? state.split : null;
		const shares = s ? [[], [`Größenklasse (aerodynamisch, ${state.particle.classSource})`, 'Anteil (%)',
			'möglich von (%)', 'bis (%)', `Massenstrom (${splitForm.unit.value})`],
		...s.shares.map(x => [x.name, x.f, x.low, x.high, x.flow])] : [];
		let file;
		if (link.id === 'xlsx') {
			/* A pasted line's tab, which a spreadsheet shows as nothing
			 * ("632,65"), shown as a bar: "63 | 2,65". */
			file = workbook([header, ...table.map(([line, d, rho, w, nre, vs, text, da, sizeClass]) =>
				[line.replace(/\t/g, ' | '), ...[d, rho, w, nre, vs].map(n => n && {n}), text, da && {n: da},
					sizeClass && {n: sizeClass, whole: true}]),
			...shares.map((cells, i) => i < 2 ? cells : [cells[0], ...cells.slice(1).map(n => /^[0-9.]+$/.test(n) ? {n} : n)]),
			[], [made]], now);
		} else {
			const cell = text => '"' + text.replace(/"/g, '""') + '"';
			const padded = cells => [...cells, ...header.slice(cells.length).map(() => '')];
			const lines = [header, ...table, ...shares.map(padded), [made, ...header.slice(1).map(() => '')]];
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

	/* The emission split by size class (web/split.cpp): the distribution as
	 * entered for the printout, each line's note or the split's fault, the
	 * shares with their bounds and mass flows, the limits with how each was
	 * found, and the measured curve. */
	function split() {
		const f = splitForm;
		const flags = (f.residue.checked ? 1 : 0) | (f.aero.checked ? 2 : 0);
		const given = f.distribution.value.trim() !== '';
		const s = state.split = given ? JSON.parse(program.ccall('absink_split', 'string',
			['string', 'string', 'number', 'string'], [f.distribution.value, form.rho.value, flags, f.flow.value])) : null;
		$('split').classList.toggle('unused', !given);
		$('split-note').textContent = s ? s.message : '';
		$('split-result').hidden = !s || s.message !== '';
		$('split-input').textContent = given ? `${f.residue.checked ? 'Größe (µm), Rückstand (%)' : 'Größe (µm), Durchgang (%)'}` +
			`${f.aero.checked ? ', aerodynamisch' : `, Dichte ${form.rho.value} g/cm³`}` +
			`${f.flow.value ? `, Emissionsmassenstrom ${f.flow.value} ${f.unit.value}` : ''}:\n${f.distribution.value}` : '';
		if (!s || s.message)
			return;
		$('flow-head').textContent = `Massenstrom (in ${f.unit.value})`;
		$('split-shares').tBodies[0].replaceChildren(...s.shares.map(share => {
			const tr = document.createElement('tr');
			for (const text of [share.name, share.f, share.low, share.high, share.flow || '–'])
				tr.append(element('td', text));
			tr.cells[0].className = 'text';
			return tr;
		}));
		$('split-limits').replaceChildren(...s.limits.map(l =>
			element('li', `${l.limit} µm aerodynamisch: d = ${l.d} µm (Probe: da = ${l.da} µm); ${l.how}`)));
		cumulative($('split-plot'), s.points, s.limits);
	}
	splitForm.addEventListener('input', () => {
		split();
		rememberSoon();
	});
	splitForm.addEventListener('submit', event => event.preventDefault());

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
		const [d, rho] = [form.d.value, form.rho.value];
		const rhoChanged = rho !== state.rho;
		const p = state.particle = particle(d, rho, withReport | (rhoChanged ? withCurve : 0));
		Object.assign(state, {d, rho, report: p.report}, rhoChanged ? {curve: p.curve} : {});
		report.textContent = p.report;
		$('explanation').textContent = p.sentence;
		$('aerodynamic').textContent = p.aerodynamic ? p.aerodynamic.sentence : '';
		$('classes').textContent = p.classes;
		$('table-classes').textContent = `Spalte Klasse: ${p.classes}`;
		$('command').textContent = p.command;
		$('steps').replaceChildren(...p.steps.flatMap(([term, text]) => [element('dt', term), element('dd', text)]));
		$('inputs').textContent = [annotate('d', p.d), annotate('rho', p.rho)].join('\n');
		$('field-density').textContent = p.rho.value ? `${p.rho.value} g/cm³` : p.rho.fault;
		for (const plot of plots)
			plot.draw(p, rhoChanged ? p.curve : undefined);
		if (rhoChanged) {
			table(p.rho.argument);
			split();
		}
		stamp();
		/* A new address costs more than all the rest, and a screen reader
		 * would read every keystroke's report: both once typing pauses.
		 * The address keeps what was typed. */
		clearTimeout(pausing);
		pausing = setTimeout(() => {
			$('status').textContent = p.brief;
		}, 300);
		rememberSoon();
	}

	let remembering;
	function rememberSoon() {
		clearTimeout(remembering);
		remembering = setTimeout(remember, 300);
	}

	/* The address keeps what was typed: the particle, the project, and the
	 * split's distribution, switches and mass flow, so that a shared link
	 * gives the same record. */
	function remember() {
		const f = splitForm;
		const kept = {d: form.d.value, rho: form.rho.value};
		for (const [name, value] of [['vorhaben', form.vorhaben.value], ['verteilung', f.distribution.value],
			['massenstrom', f.flow.value]])
			if (value.trim())
				kept[name] = value;
		for (const name of ['residue', 'aero'])
			if (f[name].checked)
				kept[name] = '1';
		if (f.flow.value.trim())
			kept.einheit = f.unit.value;
		try {
			history.replaceState(null, '', '?' + new URLSearchParams(kept));
		} catch (e) {
			/* some browsers keep file:// addresses as they are */
		}
	}

	/* A field takes 131071 characters at the most (its maxlength), the
	 * longest argument Linux passes; the address is held to the same, since
	 * the text goes to the program on its stack. */
	const query = new URLSearchParams(location.search);
	for (const name of ['d', 'rho', 'vorhaben'])
		if (query.has(name))
			form[name].value = query.get(name).slice(0, form[name].maxLength);
	for (const [key, name] of [['verteilung', 'distribution'], ['massenstrom', 'flow']])
		if (query.has(key))
			splitForm[name].value = query.get(key).slice(0, splitForm[name].maxLength);
	for (const name of ['residue', 'aero'])
		splitForm[name].checked = query.get(name) === '1';
	if (['kg/h', 'g/s'].includes(query.get('einheit')))
		splitForm.unit.value = query.get('einheit');
	form.addEventListener('input', update);
	form.addEventListener('submit', event => event.preventDefault());
	diameters.addEventListener('input', () => table(state.particle.rho.argument));
	new ResizeObserver(() => plots[0].resized()).observe($('plot'));
	update();
});

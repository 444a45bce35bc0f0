'use strict';
/* exported plotter, cumulative */
/*
 * The page's plot of the settling velocity over the diameter, drawn as
 * SVG from what absink_particle hands the page (web/page.cpp): the curve
 * of the velocity that the report shows, named bands where it shows zero
 * or warns, the limit of Stokes' law, the particle's mark.  It computes
 * nothing of the model.
 */
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
 * drops are measured drops, [diameter in mm, velocity in cm/s], marked at
 * the density 1.
 */
function plotter(node, prefix, fixed, drops) {
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

/*
 * A size distribution as sieve analyses draw it: the passing in per cent,
 * 0 to 100, over the size on a log axis of whole decades around the
 * points; the measured points joined, the class limits (as diameters of
 * the measured kind, where there are) dashed and named by their
 * aerodynamic diameter.
 */
function cumulative(node, points, limits) {
	const marks = limits.filter(l => Number.isFinite(Number(l.d)));
	const [width, height] = [640, 300];
	const box = {left: 50, right: width - 12, top: 12, bottom: height - 40};
	const sizes = [...points.map(([d]) => d), ...marks.map(l => Number(l.d))];
	const [low, high] = [Math.floor(Math.log10(Math.min(...sizes))), Math.ceil(Math.log10(Math.max(...sizes)))];
	const decades = Math.max(high - low, 1);
	const x = d => box.left + (Math.log10(d) - low) / decades * (box.right - box.left);
	const y = q => box.bottom - q / 100 * (box.bottom - box.top);
	const parts = [];
	for (let k = low; k <= low + decades; k++)
		parts.push(svg('line', {class: 'grid', x1: x(10 ** k), x2: x(10 ** k), y1: box.top, y2: box.bottom}),
			svg('text', {x: x(10 ** k), y: box.bottom + 16, 'text-anchor': 'middle'}, power(k)));
	for (let q = 0; q <= 100; q += 20)
		parts.push(svg('line', {class: 'grid', x1: box.left, x2: box.right, y1: y(q), y2: y(q)}),
			svg('text', {x: box.left - 5, y: y(q) + 4, 'text-anchor': 'end'}, String(q)));
	for (const l of marks)
		parts.push(svg('line', {class: 'limit', x1: x(l.d), x2: x(l.d), y1: box.top, y2: box.bottom}),
			svg('text', {class: 'label', x: x(l.d) + 4, y: box.top + 14}, `${l.limit} µm`));
	parts.push(svg('path', {class: 'curve', d: points.map(([d, q], i) => `${i ? 'L' : 'M'}${x(d).toFixed(1)} ${y(q).toFixed(1)}`).join('')}),
		...points.map(([d, q]) => svg('circle', {class: 'drop', cx: x(d), cy: y(q), r: 3})),
		svg('rect', {class: 'axis', x: box.left, y: box.top, width: box.right - box.left, height: box.bottom - box.top}),
		svg('text', {x: (box.left + box.right) / 2, y: box.bottom + 34, 'text-anchor': 'middle'}, 'Größe d (in µm)'),
		svg('text', {transform: `translate(13 ${(box.top + box.bottom) / 2}) rotate(-90)`, 'text-anchor': 'middle'},
			'Durchgang (in %)'));
	node.replaceChildren(...parts);
}

'use strict';
/* exported workbook */
/*
 * The table as a workbook, written in the page: Office Open XML in a ZIP
 * container, which Excel and LibreOffice open in any language, with the
 * cells as the page hands them.
 */

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
 * format @), or {n}, a number that shows its four decimals (style 1), or
 * {n, whole: true}, a whole number (style 4).  The first row is the header
 * (style 3, bold) and stays in view.
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
		return typeof cell === 'object' ? `<c r="${at}" s="${cell.whole ? 4 : 1}"><v>${cell.n}</v></c>`
			: `<c r="${at}" s="${i ? 2 : 3}" t="inlineStr"><is><t xml:space="preserve">${xml(cell)}</t></is></c>`;
	}).join('') + '</row>').join('');
	const widths = [16, 12, 12, 12, 12, 12, 70, 14, 10].map((width, k) =>
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
			'<cellXfs count="5"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>' +
			'<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>' +
			'<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>' +
			'<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>' +
			'<xf numFmtId="1" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>' +
			'</styleSheet>'],
		['xl/worksheets/sheet1.xml', `${head}<worksheet xmlns="${main}"><sheetViews><sheetView workbookViewId="0">` +
			'<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/></sheetView></sheetViews>' +
			`<cols>${widths}</cols><sheetData>${sheet}</sheetData></worksheet>`],
	], time);
}

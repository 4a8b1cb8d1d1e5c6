// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lays the modern pages out in headless Chromium and reads back what a reader meets there.
// usage: node page-browser.cjs CHROMIUM SHOTS_DIR CHECKS_JSON
// CHECKS_JSON: [{page, chords, print, shots}]: the page file, how many diagrams it has, whether
// to print it on A4 and read the PDF's pages back with pdftotext, what its screenshots' names
// end in.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [chromium, shots, checksJson] = process.argv.slice(2);
const checks = JSON.parse(checksJson);
const failures = [];
const fail = (page, text) => failures.push(`${path.basename(page)}: ${text}`);

const PHONE = { width: 375, height: 812, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const DESKTOP = { width: 1440, height: 900, deviceScaleFactor: 1 };

// Widths of the diagrams and how far the page reaches past the viewport, as laid out.
async function layout(tab) {
  return tab.evaluate(() => ({
    widths: [...document.querySelectorAll('figure img')].map((i) => i.getBoundingClientRect().width),
    overflow: document.documentElement.scrollWidth - window.innerWidth,
  }));
}

function walk(node, visit) {
  visit(node);
  for (const child of node.children || []) walk(child, visit);
}

async function accessibility(tab, check) {
  const tree = await tab.accessibility.snapshot({ interestingOnly: true });
  const levels = new Set();
  const images = [];
  walk(tree, (node) => {
    if (node.role === 'heading') levels.add(node.level);
    if (node.role === 'image' || node.role === 'img') images.push(node.name || '');
  });
  if (!levels.has(1)) fail(check.page, 'no heading of level 1 in the accessibility tree');
  if (check.chords > 0 && !levels.has(2) && !check.page.endsWith('index.html')) {
    fail(check.page, 'no heading of level 2 in the accessibility tree');
  }
  if (images.length !== check.chords) {
    fail(check.page, `${images.length} images in the accessibility tree for ${check.chords} chords`);
  }
  const unnamed = images.filter((name) => !/^.+: /.test(name)).length;
  if (unnamed) fail(check.page, `${unnamed} images without their chord's words as name`);
}

// Marks each figure's top and bottom and each heading with text that pdftotext reads, prints on
// A4 and reads each page back: a figure's marks on one page, no heading as a page's last line.
async function printed(tab, check, pdf) {
  const headings = await tab.evaluate(() => {
    document.querySelectorAll('figure').forEach((figure, i) => {
      for (const [where, text] of [['afterbegin', `FIGTOP${i}`], ['beforeend', `FIGEND${i}`]]) {
        figure.insertAdjacentHTML(where, `<span style="display:block;font-size:6px">${text}</span>`);
      }
    });
    return [...document.querySelectorAll('h2')].map((h) => h.textContent.trim());
  });
  await tab.emulateMediaType('print');
  let total = 0;
  // At the print dialog's scales too, so that the page ends fall at many places.
  for (const scale of [1, 1.4, 1.8]) {
    await tab.pdf({ path: pdf, format: 'A4', printBackground: true, scale });
    total += readPrinted(check, pdf, headings, scale);
  }
  await tab.emulateMediaType(null);
  return total;
}

function readPrinted(check, pdf, headings, scale) {
  const pages = Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [pdf], { encoding: 'utf8' }))[1]);
  if (pages < 2) fail(check.page, `printed on ${pages} page: nothing to check across pages`);
  for (let n = 1; n <= pages; ++n) {
    const text = execFileSync('pdftotext', ['-layout', '-f', `${n}`, '-l', `${n}`, pdf, '-'], {
      encoding: 'utf8',
    });
    const lines = text.split('\n').map((l) => l.trim()).filter((l) => l);
    const last = lines[lines.length - 1] || '';
    if (headings.includes(last)) fail(check.page, `page ${n} at ${scale} ends with the heading "${last}"`);
    const tops = new Set((text.match(/FIGTOP\d+/g) || []).map((t) => t.slice(6)));
    const ends = new Set((text.match(/FIGEND\d+/g) || []).map((t) => t.slice(6)));
    for (const i of tops) if (!ends.has(i)) fail(check.page, `figure ${i} begins on page ${n} at ${scale} and ends later`);
    for (const i of ends) if (!tops.has(i)) fail(check.page, `figure ${i} ends on page ${n} at ${scale}, begun earlier`);
  }
  return pages;
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--allow-file-access-from-files'],
  });
  try {
    for (const check of checks) {
      const tab = await browser.newPage();
      const url = 'file://' + check.page.split('/').map(encodeURIComponent).join('/');
      const stem = path.basename(check.page, '.html') + (check.shots ? `-${check.shots}` : '');
      const shot = (name) => path.join(shots, `${stem}-${name}.png`);
      await tab.setViewport(PHONE);
      await tab.goto(url, { waitUntil: 'load' });
      const phone = await layout(tab);
      const narrow = phone.widths.filter((w) => w < 96);
      if (narrow.length) fail(check.page, `${narrow.length} diagrams narrower than 96 CSS px on a phone: ${narrow[0]}`);
      if (phone.overflow > 0) fail(check.page, `scrolls ${phone.overflow} px sideways on a phone`);
      if (phone.widths.length !== check.chords) {
        fail(check.page, `${phone.widths.length} diagrams laid out for ${check.chords} chords`);
      }
      await tab.screenshot({ path: shot('phone') });
      await accessibility(tab, check);

      await tab.setViewport(DESKTOP);
      const desktop = await layout(tab);
      if (desktop.overflow > 0) fail(check.page, `scrolls ${desktop.overflow} px sideways on a desktop`);
      await tab.screenshot({ path: shot('desktop') });

      await tab.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
      const colours = await tab.evaluate(() => {
        const figure = document.querySelector('figure');
        return {
          page: getComputedStyle(document.body).backgroundColor,
          tile: figure ? getComputedStyle(figure).backgroundColor : 'rgb(255, 255, 255)',
        };
      });
      const light = (rgb) => rgb.match(/\d+/g).slice(0, 3).reduce((a, b) => a + Number(b), 0) / 3;
      if (light(colours.page) > 96) fail(check.page, `dark mode keeps a light page: ${colours.page}`);
      if (light(colours.tile) < 224) fail(check.page, `dark mode puts the diagrams on ${colours.tile}`);
      await tab.screenshot({ path: shot('dark') });
      await tab.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'light' }]);

      let printedPages = 0;
      if (check.print) printedPages = await printed(tab, check, shot('print').replace(/png$/, 'pdf'));
      console.log(
        `${stem}: ${phone.widths.length} diagrams, narrowest on a phone ` +
          `${Math.min(...phone.widths, Infinity).toFixed(1)} px` +
          (printedPages ? `, ${printedPages} printed pages` : ''),
      );
      await tab.close();
    }
  } finally {
    await browser.close();
  }
  for (const failure of failures) console.log('FAIL: ' + failure);
  process.exit(failures.length ? 1 : 0);
}

main().catch((error) => {
  console.log('FAIL: ' + (error.stack || error));
  process.exit(1);
});

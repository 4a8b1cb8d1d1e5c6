// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Has two web notation engines read each MusicXML file given and writes what they show as chord
// symbols beside it, for readback.py: NAME.osmd.json, one list per measure of the symbols of
// each part (as the engine lays them out in a page drawn without a browser), or the reason it
// refused the file, and NAME.mei,
// the engine's own encoding, whose <harm> elements hold the text it draws.
'use strict'

const fs = require('fs')
const { JSDOM } = require('jsdom')

// The page the engine draws in. Text is measured by a stand-in: only the symbols are read.
const dom = new JSDOM('<!DOCTYPE html><html><body></body></html>', { pretendToBeVisual: true })
for (const name of ['document', 'HTMLElement', 'HTMLAnchorElement', 'XMLHttpRequest', 'DOMParser', 'Node']) {
  global[name] = dom.window[name]
}
global.window = dom.window
dom.window.SVGElement.prototype.getBBox = () => ({ x: 0, y: 0, width: 10, height: 10 })
dom.window.HTMLCanvasElement.prototype.getContext = () => ({ font: '', measureText: text => ({ width: 6 * text.length }) })

const { OpenSheetMusicDisplay } = require('opensheetmusicdisplay')
const verovio = require('verovio')

async function osmdSymbols (xml) {
  const page = document.createElement('div')
  document.body.replaceChildren(page)
  Object.defineProperty(page, 'offsetWidth', { value: 1200 })
  const osmd = new OpenSheetMusicDisplay(page, { backend: 'svg', autoResize: false })
  await osmd.load(xml)
  osmd.render()
  return osmd.GraphicSheet.MeasureList.map(staves => staves.map(measure =>
    measure.staffEntries.flatMap(entry =>
      entry.graphicalChordContainers.map(symbol => symbol.GraphicalLabel.Label.text))))
}

async function main () {
  await new Promise(resolve => { verovio.module.onRuntimeInitialized = resolve })
  const toolkit = new verovio.toolkit()
  for (const file of process.argv.slice(2)) {
    const xml = fs.readFileSync(file, 'utf8')
    const base = file.replace(/\.musicxml$/, '')
    let symbols
    try {
      symbols = await osmdSymbols(xml)
    } catch (error) {
      // Its tablature staves have 3 to 8 lines: a file with more is refused whole.
      symbols = { refused: error.message || String(error) }
    }
    fs.writeFileSync(base + '.osmd.json', JSON.stringify(symbols))
    if (!toolkit.loadData(xml)) throw new Error(file + ': Verovio did not read it')
    fs.writeFileSync(base + '.mei', toolkit.getMEI())
  }
}

main().catch(error => { console.error(error); process.exit(1) })

// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders every position of the given JSON exports with a web chord library, on the server,
// and reads its drawing back: the dots, crosses, open strings, barres and base fret it draws
// must give the chord that the MusicXML file beside each JSON file holds (absolute frets, which
// the notation program's read-back checks). The library draws four- and six-string
// instruments with up to four rows only; a chord beyond that is counted as out of its reach,
// not as a failure.
'use strict'

const fs = require('fs')
const React = require('react')
const ReactDOMServer = require('react-dom/server')
const Chord = require('@tombatossals/react-chords/lib/Chord').default

// Where the library puts things (its own drawing constants).
const FRET_Y = [-4, 6.5, 18, 30, 42, 54]
const BARRE_Y = [2.35, 13.9, 26, 38]
const FIRST_STRING_X = { 4: 10, 6: 0 }

function attributes (tag) {
  const out = {}
  for (const m of tag.matchAll(/([a-zA-Z-]+)="([^"]*)"/g)) out[m[1]] = m[2]
  return out
}

// What the drawing shows: per string 'x', 0 or the fret row; the barres' rows; the base fret.
function readDrawing (svg, strings) {
  const x0 = FIRST_STRING_X[strings]
  const stringAt = x => Math.round((Number(x) - x0) / 10)
  const shown = new Array(strings).fill(null)
  const barres = []
  for (const m of svg.matchAll(/<text([^>]*)>([^<]*)<\/text>/g)) {
    const a = attributes(m[1])
    if (m[2] === 'x' && a.y === '-2') shown[stringAt(a.x)] = -1
  }
  for (const m of svg.matchAll(/<circle([^>]*)\/?>/g)) {
    const a = attributes(m[1])
    const row = FRET_Y.indexOf(Number(a.cy))
    shown[stringAt(a.cx)] = a.r === '2' ? 0 : row
  }
  for (const m of svg.matchAll(/<rect([^>]*)\/?>/g)) {
    const a = attributes(m[1])
    if (a.height !== '8.25' || a['fill-opacity']) continue
    barres.push({ row: BARRE_Y.indexOf(Number(a.y)) + 1,
      first: stringAt(a.x), last: stringAt(Number(a.x) + Number(a.width)) })
  }
  const label = svg.match(/>(\d+)fr<\/text>/)
  return { shown, barres, baseFret: label ? Number(label[1]) : 1 }
}

// The diagrams of a MusicXML file, one per chord: per string (lowest-pitched first) 'x', 0 or
// the absolute fret, and the barres as absolute frets over string indexes.
function musicXmlDiagrams (xml) {
  return xml.split('<harmony>').slice(1).map(harmony => {
    const frame = harmony.match(/<frame-strings>(\d+)<\/frame-strings>([\s\S]*?)<\/frame>/)
    if (!frame) return null
    const strings = Number(frame[1])
    const shown = new Array(strings).fill(-1)
    const barres = []
    for (const m of frame[2].matchAll(/<frame-note><string>(\d+)<\/string><fret>(\d+)<\/fret>(.*?)<\/frame-note>/g)) {
      const index = strings - Number(m[1])
      shown[index] = Number(m[2])
      if (m[3].includes('<barre type="start"/>')) barres.push({ fret: Number(m[2]), first: index })
      if (m[3].includes('<barre type="stop"/>')) barres.find(b => b.fret === Number(m[2])).last = index
    }
    return { shown, barres: barres.sort((a, b) => a.fret - b.fret) }
  })
}

// The drawing in absolute frets.
function absolute (drawing) {
  const fret = row => row + drawing.baseFret - 1
  return {
    shown: drawing.shown.map(v => v <= 0 ? v : fret(v)),
    barres: drawing.barres.map(b => ({ fret: fret(b.row), first: b.first, last: b.last }))
      .sort((a, b) => a.fret - b.fret)
  }
}

let chords = 0; let drawn = 0; let outOfReach = 0; let failures = 0
for (const file of process.argv.slice(2)) {
  const data = JSON.parse(fs.readFileSync(file, 'utf8'))
  const diagrams = musicXmlDiagrams(fs.readFileSync(file.replace(/\.json$/, '.musicxml'), 'utf8'))
  for (const [i, chord] of data.chords.entries()) {
    chords++
    const instrument = chord.instrument || data.instrument
    const position = chord.positions[0]
    if (!position || !(instrument.strings in FIRST_STRING_X) ||
        Math.max(...position.frets) > BARRE_Y.length) {
      outOfReach++
      continue
    }
    const library = { ...instrument, keys: [], main: {} }
    const svg = ReactDOMServer.renderToStaticMarkup(
      React.createElement(Chord, { chord: position, instrument: library }))
    const got = JSON.stringify(absolute(readDrawing(svg, instrument.strings)))
    const want = JSON.stringify(diagrams[i] || { shown: position.frets, barres: [] })
    if (got !== want) {
      failures++
      console.log(`FAIL: ${file}: ${chord.name}: drawn ${got}, expected ${want}`)
    } else {
      drawn++
    }
  }
}
console.log(`${process.argv.length - 2} JSON files: ${chords} chords, ${drawn} drawn as exported, ` +
  `${outOfReach} beyond what the library draws (five strings, no strings, more than four rows)`)
console.log(`${drawn} passed, ${failures} failed`)
process.exit(failures ? 1 : 0)

// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads each ChordPro file given (NAME.cho, with NAME.json beside it) with a songbook parser and
// finds every chord of the JSON file among the definitions the parser keeps, set to the chord's
// instrument: by its own name or, for a name the database repeats, by NAME(v2), NAME(v3), ...,
// with the same base fret, frets and fingers. A definition the parser refuses (a name that is
// no chord symbol, a base fret of 10 or more) is counted as out of its reach, not as a failure.
'use strict'

const fs = require('fs')
const { ChordProParser } = require('chordsheetjs')

function selectorOf (instrument) {
  const known = instrument.name.match(/^(Guitar|Ukulele|Banjo),/)
  return known ? known[1].toLowerCase() : 'strings' + instrument.strings
}

// The name a define tag gives, as the file wrote it: quoted or up to the first blank.
function defineName (value) {
  const quoted = value.match(/^"((?:[^"\\]|\\.)*)"/)
  return quoted ? quoted[1].replace(/\\(.)/g, '$1') : value.split(/\s/)[0]
}

let failures = 0
let reached = 0
let refused = 0
for (const cho of process.argv.slice(2)) {
  const data = JSON.parse(fs.readFileSync(cho.replace(/\.cho$/, '.json'), 'utf8'))
  const song = new ChordProParser().parse(fs.readFileSync(cho, 'utf8'))
  const tags = song.lines.flatMap(line => line.items).filter(item => item.name === 'define')
  const selected = tags.some(tag => tag.selector)
  const claimed = new Set()
  for (const chord of data.chords) {
    if (chord.positions.length === 0) continue
    const selector = selectorOf(chord.instrument || data.instrument)
    const context = { configuration: { instrument: { type: selector } }, metadata: song.metadata }
    const kept = song.getChordDefinitions(selected ? context : undefined)
    const own = tags.filter(tag => !selected || tag.selector === selector)
    const position = chord.positions[0]
    const want = JSON.stringify([position.baseFret, position.frets,
      position.fingers.some(f => f !== 0) ? position.fingers : []])
    let found = false
    let outOfReach = false
    for (let n = 1; n < 100 && !found; ++n) {
      const name = n === 1 ? chord.name : chord.name + '(v' + n + ')'
      if (claimed.has(selector + ' ' + name)) continue
      const tag = own.find(t => defineName(t.value) === name)
      if (!tag) break
      if (!tag.chordDefinition) { outOfReach = true; claimed.add(selector + ' ' + name); break }
      const definition = kept[name]
      const frets = definition ? definition.frets.map(f => f === 'x' ? -1 : f) : null
      const fingers = definition && definition.fingers.some(f => f !== 0) ? definition.fingers : []
      if (definition && JSON.stringify([definition.baseFret, frets, fingers]) === want) {
        claimed.add(selector + ' ' + name)
        found = true
      }
    }
    if (found) ++reached
    else if (outOfReach) ++refused
    else {
      console.log('FAIL: %s: %s (%s) cannot be reached: %s', cho, chord.name, selector, want)
      ++failures
    }
  }
}
console.log('%d ChordPro files read: %d chords reached by their names, %d out of the reader\'s ' +
  'reach (names that are no chord symbols, base frets of 10 and above)',
process.argv.length - 2, reached, refused)
process.exit(failures ? 1 : 0)

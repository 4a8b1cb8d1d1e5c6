// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Has the notation engine read each MusicXML file given and write its own score format beside
// it (NAME.ms4.mscx), which readback.py reads. One process for all files: the engine's start is
// the slow part.
'use strict'

// Node's own fetch takes no file path: without it the engine reads its files from disk.
globalThis.fetch = undefined
const fs = require('fs')
const WebMscore = require('webmscore')

async function main () {
  await WebMscore.ready
  for (const file of process.argv.slice(2)) {
    const score = await WebMscore.load('musicxml', new Uint8Array(fs.readFileSync(file)), [], false)
    fs.writeFileSync(file.replace(/\.musicxml$/, '.ms4.mscx'), await score.saveMsc('mscx'))
    // Not destroyed: loading the next score after that ends the engine.
  }
}

main().catch(error => { console.error(error); process.exit(1) })

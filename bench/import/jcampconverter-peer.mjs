// Peer timing: the npm package jcampconverter converting the same JCAMP-DX file.
// Usage: node jcampconverter-peer.mjs FILE  (run from a folder where the package is installed)
import { readFileSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const file = process.argv[2];
const require = createRequire(pathToFileURL(process.cwd() + '/').href);
const converter = await import(pathToFileURL(require.resolve('jcampconverter')).href);
const convert = converter.convert ?? converter.default?.convert;
const start = process.hrtime.bigint();
const text = readFileSync(file, 'latin1');
const result = convert(text, { keepRecordsRegExp: /^(TITLE|CASREGISTRYNO|MOLFORM|MW)$/ });
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
const spectra = result.flatten.length;
let peaks = 0;
for (const entry of result.flatten) {
  for (const spectrum of entry.spectra ?? []) peaks += spectrum.data?.x?.length ?? 0;
}
const megabytes = statSync(file).size / 1e6;
console.log(
  `jcampconverter: ${spectra} spectra (${peaks} peaks), ${megabytes.toFixed(1)} MB in ${seconds.toFixed(3)} s: ` +
    `${(megabytes / seconds).toFixed(1)} MB/s, ${(spectra / seconds).toFixed(0)} spectra/s`,
);
console.log(`seconds=${seconds}`);

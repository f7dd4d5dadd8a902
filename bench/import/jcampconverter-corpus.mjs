// Peer reading of the JCAMP-DX corpus: every file with jcampconverter, one JSON line per file
// with the mass spectra it found, intensities in percent of each spectrum's largest, points of
// intensity 0 left out (as our importer stores them).
// Usage: node jcampconverter-corpus.mjs FILE...  (run from a folder where the package is installed)
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(pathToFileURL(process.cwd() + '/').href);
const converter = await import(pathToFileURL(require.resolve('jcampconverter')).href);
const convert = converter.convert ?? converter.default?.convert;

for (const file of process.argv.slice(2)) {
  const spectra = [];
  let error = null;
  try {
    const result = convert(readFileSync(file, 'latin1'), { keepRecordsRegExp: /.*/ });
    for (const entry of result.flatten) {
      const type = String(entry.dataType ?? entry.meta?.DATATYPE ?? '').toUpperCase();
      if (type && !type.includes('MASS')) continue;
      for (const spectrum of entry.spectra ?? []) {
        const x = spectrum.data?.x ?? [];
        const y = spectrum.data?.y ?? [];
        const largest = Math.max(0, ...y);
        const peaks = [];
        for (let i = 0; i < x.length; i++) {
          if (y[i] !== 0) peaks.push([x[i], largest > 0 ? (100 * y[i]) / largest : 0]);
        }
        spectra.push(peaks);
      }
    }
  } catch (e) {
    error = String(e.message ?? e);
  }
  console.log(JSON.stringify({ file, spectra, error }));
}

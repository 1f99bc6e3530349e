// Lighthouse's default mobile run (a mid-range phone's slower processor and
// slow 4G, simulated) on a page, in a fresh headless Chromium each time, for
// make bench-web. Lighthouse is pinned in package.json.
import lighthouse from 'lighthouse';
import puppeteer from 'puppeteer-core';

const figures = {
  score: (r) => r.categories.performance.score * 100,
  fcp: (r) => r.audits['first-contentful-paint'].numericValue / 1000,
  tbt: (r) => r.audits['total-blocking-time'].numericValue,
  tti: (r) => r.audits.interactive.numericValue / 1000,
  lcp: (r) => r.audits['largest-contentful-paint'].numericValue / 1000,
  kb: (r) => r.audits['total-byte-weight'].numericValue / 1024,
  // The longest of the page's own tasks, as Lighthouse saw them (ms).
  longest: (r) => Math.max(0, ...(r.audits['long-tasks'].details?.items || []).map((t) => t.duration)),
};

// The figures of one run on url: { figure: value }.
async function lighthouseOnce(url) {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--no-first-run'],
  });
  try {
    const port = Number(new URL(browser.wsEndpoint()).port);
    const result = await lighthouse(url, { port, output: 'json', logLevel: 'error', onlyCategories: ['performance'] });
    if (result.lhr.runtimeError) throw new Error(`Lighthouse: ${result.lhr.runtimeError.message}`);
    return Object.fromEntries(Object.entries(figures).map(([name, read]) => [name, read(result.lhr)]));
  } finally {
    await browser.close();
  }
}

// { page: { figure: [value of each run] } } over runs runs of each of pages
// ({ page: url }), a run of each in turn, so that a slower spell of the
// machine weighs on all of them alike.
export async function lighthouseMobile(pages, runs) {
  const values = Object.fromEntries(Object.keys(pages).map((name) => [name,
    Object.fromEntries(Object.keys(figures).map((figure) => [figure, []]))]));
  for (let i = 0; i < runs; i++) {
    for (const [name, url] of Object.entries(pages)) {
      const one = await lighthouseOnce(url);
      for (const figure of Object.keys(figures)) values[name][figure].push(one[figure]);
    }
  }
  return values;
}

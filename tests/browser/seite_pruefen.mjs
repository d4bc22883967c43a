// Opens a saved site from disk in Debian's Chromium and checks what a visitor
// sees: the button column, the contents beside it, the banner above it, the
// button graphics and the background picture, and (with the fixed menu) that
// css/ie.css takes effect and the menu stays after scrolling. No request of
// the page may fail.
//
// With "import", the page is the first of an imported site: every page of
// its navigation is opened in turn, and each must show all its pictures
// (img elements and background attributes of the imported contents), load
// css/ie.css, and, on the first page, show the characters é € „“.
//
// Usage: node seite_pruefen.mjs <page.html> <button width> <button height>
//        <menu fixed: 0|1> <banner: 0|1> <graphics: 0|1> <screenshot.png> [import]
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';

const [seite, breiteText, hoeheText, fixiertText, bannerText, grafikText, bildschirmfoto, art] =
  process.argv.slice(2);
const importiert = art === 'import';
const B = Number(breiteText);
const H = Number(hoeheText);
const fixiert = fixiertText === '1';
const mitBanner = bannerText === '1';
const mitGrafik = grafikText === '1';

const fehler = [];
function pruefe(bedingung, text) {
  if (!bedingung) fehler.push(text);
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run',
         '--disable-component-update', '--disable-sync', '--allow-file-access-from-files'],
});
try {
  const page = await browser.newPage({ viewport: { width: 900, height: 400 } });
  const gescheitert = [];
  const geladen = new Set();
  page.on('requestfailed', (r) => gescheitert.push(`${r.url()} (${r.failure()?.errorText})`));
  page.on('requestfinished', (r) => geladen.add(r.url()));
  await page.goto(pathToFileURL(seite).href, { waitUntil: 'load' });
  if (mitBanner || mitGrafik) await page.screenshot({ path: bildschirmfoto.replace(/\.png$/, '-oben.png') });

  const links = await page.$$eval('ul#Navigation a', (as) =>
    as.map((a) => { const r = a.getBoundingClientRect(); return { x: r.x, y: r.y, w: r.width, h: r.height }; }));
  pruefe(links.length >= 2, `zu wenige Navigationslinks: ${links.length}`);
  for (const [i, l] of links.entries()) {
    pruefe(Math.abs(l.x - links[0].x) < 0.5, `Link ${i + 1} steht nicht in einer Spalte (x=${l.x})`);
    pruefe(Math.abs(l.w - B) < 0.5, `Link ${i + 1} ist ${l.w} statt ${B} Pixel breit`);
    pruefe(Math.abs(l.h - H) <= H * 0.1 + 1, `Link ${i + 1} ist ${l.h} statt etwa ${H} Pixel hoch`);
    if (i > 0) pruefe(l.y > links[i - 1].y + links[i - 1].h - 0.5, `Link ${i + 1} steht nicht unter Link ${i}`);
  }
  pruefe(links.length === 0 || links[0].x < 60, `die Navigation steht nicht links (x=${links[0]?.x})`);

  const inhalt = await page.$eval('div#Inhalt', (d) => {
    const r = d.getBoundingClientRect();
    const ul = document.querySelector('ul#Navigation').getBoundingClientRect();
    const body = document.body;
    const links = body.getBoundingClientRect().x + parseFloat(getComputedStyle(body).paddingLeft);
    return { x: r.x, top: r.y, ulRechts: ul.right, seitenrand: links };
  });
  // The contents start B + 30 pixels from the page's left content edge, right of the buttons.
  pruefe(Math.abs(inhalt.x - inhalt.seitenrand - (B + 30)) < 0.5,
         `Inhalt beginnt bei ${inhalt.x - inhalt.seitenrand} statt ${B + 30} Pixel`);
  pruefe(inhalt.x >= inhalt.ulRechts, `Inhalt (x=${inhalt.x}) überlappt die Navigation (bis ${inhalt.ulRechts})`);

  if (mitBanner) {
    const banner = await page.$eval('div#banner img', (img) => {
      const r = img.getBoundingClientRect();
      return { bottom: r.bottom, geladen: img.complete && img.naturalWidth > 0 };
    });
    pruefe(banner.geladen, 'das Bannerbild wurde nicht geladen');
    pruefe(banner.bottom <= inhalt.top + 0.5, 'der Banner steht nicht über dem Inhalt');
  }

  if (mitGrafik) {
    const bilder = await page.$$eval('ul#Navigation li', (lis) =>
      lis.map((li) => getComputedStyle(li).backgroundImage).filter((b) => b && b !== 'none'));
    pruefe(bilder.length === links.length, `nur ${bilder.length} von ${links.length} Buttons haben eine Grafik`);
    const hintergrund = await page.evaluate(() => getComputedStyle(document.body).backgroundImage);
    pruefe(hintergrund !== 'none', 'die Seite hat kein Hintergrundbild');
    if (hintergrund !== 'none') bilder.push(hintergrund);
    for (const b of new Set(bilder)) {
      const url = b.replace(/^url\("?/, '').replace(/"?\)$/, '');
      const geladen = await page.evaluate((u) => new Promise((ok) => {
        const img = new Image();
        img.onload = () => ok(img.naturalWidth > 0);
        img.onerror = () => ok(false);
        img.src = u;
      }), url);
      pruefe(geladen, `Buttongrafik ${url} wurde nicht geladen`);
    }
  }

  if (fixiert) {
    // Only the workaround stylesheet stops the page itself from scrolling.
    const ueberlauf = await page.evaluate(() =>
      [document.documentElement, document.body].map((e) => getComputedStyle(e).overflowY));
    pruefe(ueberlauf.every((o) => o === 'hidden'), `css/ie.css wirkt nicht (overflow-y: ${ueberlauf})`);
    await page.evaluate(() => {
      window.scrollTo(0, document.body.scrollHeight);
      const s = document.getElementById('scrollen');
      if (s) s.scrollTop = s.scrollHeight;
    });
    const gescrollt = await page.evaluate(() => {
      const s = document.getElementById('scrollen');
      return Math.max(window.scrollY, s ? s.scrollTop : 0);
    });
    pruefe(gescrollt > 0, 'die Seite ließ sich nicht scrollen; der Test wäre wertlos');
    const menue = await page.$eval('#fixiert', (m) => {
      const r = m.getBoundingClientRect();
      return { top: r.top, bottom: r.bottom, hoehe: window.innerHeight };
    });
    pruefe(menue.top >= 0 && menue.top < menue.hoehe, `das Menü ist nach dem Scrollen nicht mehr sichtbar (top=${menue.top})`);
  }

  await page.screenshot({ path: bildschirmfoto, fullPage: false });
  if (importiert) await importiertePruefen(page, geladen);
  pruefe(gescheitert.length === 0, `Anfragen gescheitert: ${gescheitert.join(', ')}`);
} finally {
  await browser.close();
}

// Every page of the navigation, opened from disk as a visitor would follow it.
async function importiertePruefen(page, geladen) {
  const ziele = await page.$$eval('ul#Navigation a', (as) => as.map((a) => a.href));
  pruefe(ziele.length === 4, `${ziele.length} statt 4 Seiten in der Navigation`);
  let bilder = 0;
  let hintergruende = 0;
  for (const [i, ziel] of ziele.entries()) {
    geladen.clear();
    await page.goto(ziel, { waitUntil: 'load' });
    const name = ziel.replace(/^.*\//, '');
    const img = await page.$$eval('#Inhalt img', (is) =>
      is.map((b) => ({ src: b.src, breite: b.complete ? b.naturalWidth : 0 })));
    for (const b of img) pruefe(b.breite > 0, `${name}: Bild ${b.src} wurde nicht geladen`);
    bilder += img.length;
    // A background attribute becomes the cell's background image.
    const grund = await page.$$eval('#Inhalt [background]', (es) =>
      es.map((e) => ({ attribut: e.getAttribute('background'), stil: getComputedStyle(e).backgroundImage })));
    for (const g of grund) {
      const url = g.stil.replace(/^url\("?/, '').replace(/"?\)$/, '');
      pruefe(g.stil !== 'none' && url.endsWith(g.attribut), `${name}: Hintergrund ${g.attribut} fehlt (${g.stil})`);
      pruefe(geladen.has(url), `${name}: Hintergrund ${url} wurde nicht angefordert`);
      const breite = await page.evaluate((u) => new Promise((ok) => {
        const b = new Image();
        b.onload = () => ok(b.naturalWidth);
        b.onerror = () => ok(0);
        b.src = u;
      }), url);
      pruefe(breite > 0, `${name}: Hintergrund ${url} ist kein Bild`);
    }
    hintergruende += grund.length;
    pruefe([...geladen].some((u) => u.endsWith('/css/ie.css')), `${name}: css/ie.css wurde nicht geladen`);
    const ueberlauf = await page.evaluate(() =>
      [document.documentElement, document.body].map((e) => getComputedStyle(e).overflowY));
    pruefe(ueberlauf.every((o) => o === 'hidden'), `${name}: css/ie.css wirkt nicht (overflow-y: ${ueberlauf})`);
    if (i === 0) {
      const text = await page.$eval('#Inhalt', (d) => d.textContent);
      pruefe(text.includes('é € „“') && text.includes('Grüße'), `${name}: Zeichen fehlen in „${text.trim()}“`);
    }
  }
  // Guards the check itself: the site has pictures to show.
  pruefe(bilder >= 3 && hintergruende >= 1, `nur ${bilder} Bilder und ${hintergruende} Hintergründe gesehen`);
}

if (fehler.length) {
  for (const f of fehler) console.error('FEHLER: ' + f);
  process.exit(1);
}
console.log('Seite in Ordnung');

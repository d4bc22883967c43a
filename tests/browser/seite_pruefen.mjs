// Opens a saved site in Debian's Chromium, served from its folder by a
// loopback web server as a host would serve it, and checks what a visitor
// sees: the button column, the contents beside it, the banner above it, the
// button graphics and the background picture, and (with the fixed menu) that
// css/ie.css takes effect and the menu stays after scrolling. No request of
// the page may fail.
//
// With "import", the page is the first of an imported site: every page of
// its navigation is opened in turn, and each must show all its pictures
// (img elements and background attributes of the imported contents, among
// them names in UTF-8 and Windows-1252, with %20 and &amp;), load css/ie.css,
// and, on the first page, show the characters é € „“.
//
// With "ohne" and the same page saved without the phone layout, the site
// has that layout: on phones (320 and 390 px) it must not scroll sideways,
// its text must be at least 16 px and its menu buttons at least 44 px high,
// every page must mark itself in the menu, the skip link must lead to the
// contents, and at 1280 px every box must stand where it stands without the
// layout. axe-core checks the WCAG 2.1 A and AA rules at both sizes.
//
// Usage: node seite_pruefen.mjs <page.html> <button width> <button height>
//        <menu fixed: 0|1> <banner: 0|1> <graphics: 0|1> <screenshot.png> [import]
//        [ohne <the page without the phone layout>]
import { chromium } from 'playwright-core';
import { readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import http from 'node:http';
import path from 'node:path';

const [seite, breiteText, hoeheText, fixiertText, bannerText, grafikText, bildschirmfoto, ...zusaetze] =
  process.argv.slice(2);
const importiert = zusaetze.includes('import');
const ohneSeite = zusaetze.includes('ohne') ? zusaetze[zusaetze.indexOf('ohne') + 1] : null;
const B = Number(breiteText);
const H = Number(hoeheText);
const fixiert = fixiertText === '1';
const mitBanner = bannerText === '1';
const mitGrafik = grafikText === '1';

const fehler = [];
function pruefe(bedingung, text) {
  if (!bedingung) fehler.push(text);
}

// A static web server on 127.0.0.1 for the folder, mapping a request as
// common hosts do: the path percent-decoded to bytes, looked up as a file
// name; no content type names a character set, so the pages' own
// declaration counts.
const arten = { '.html': 'text/html', '.css': 'text/css', '.jpg': 'image/jpeg',
                '.jpeg': 'image/jpeg', '.gif': 'image/gif', '.png': 'image/png' };
async function dienen(wurzel) {
  const server = http.createServer(async (anfrage, antwort) => {
    const roh = new URL(anfrage.url, 'http://127.0.0.1').pathname;
    const bytes = [];
    for (let i = 0; i < roh.length; ++i) {
      if (roh[i] === '%' && /^[0-9A-Fa-f]{2}$/.test(roh.slice(i + 1, i + 3))) {
        bytes.push(parseInt(roh.slice(i + 1, i + 3), 16));
        i += 2;
      } else {
        bytes.push(...Buffer.from(roh[i]));
      }
    }
    const name = Buffer.from(bytes);
    const teile = name.toString('latin1').split('/');
    if (teile.includes('..') || name.includes(0)) {
      antwort.writeHead(404).end();
      return;
    }
    try {
      const inhalt = await readFile(Buffer.concat([Buffer.from(wurzel), name]));
      const art = arten[path.extname(name.toString('latin1')).toLowerCase()];
      antwort.writeHead(200, art ? { 'Content-Type': art } : {}).end(inhalt);
    } catch {
      antwort.writeHead(404).end();
    }
  });
  await new Promise((ok) => server.listen(0, '127.0.0.1', ok));
  return server;
}

const webserver = await dienen(path.dirname(path.resolve(seite)));
const basis = `http://127.0.0.1:${webserver.address().port}/`;

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run',
         '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 900, height: 400 } });
  const gescheitert = [];
  const geladen = new Set();
  page.on('requestfailed', (r) => gescheitert.push(`${r.url()} (${r.failure()?.errorText})`));
  page.on('requestfinished', (r) => geladen.add(r.url()));
  page.on('response', (r) => { if (r.status() >= 400) gescheitert.push(`${r.url()} (Status ${r.status()})`); });
  await page.goto(basis + encodeURIComponent(path.basename(seite)), { waitUntil: 'load' });
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
    // Only the workaround stylesheet stops the page itself from scrolling;
    // with the phone layout the window scrolls wherever the menu can be fixed.
    const ueberlauf = await page.evaluate(() =>
      [document.documentElement, document.body].map((e) => getComputedStyle(e).overflowY));
    pruefe(ueberlauf.every((o) => o === (ohneSeite ? 'visible' : 'hidden')),
           `css/ie.css wirkt nicht wie erwartet (overflow-y: ${ueberlauf})`);
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
  if (ohneSeite) await handyPruefen(gescheitert);
  pruefe(gescheitert.length === 0, `Anfragen gescheitert: ${gescheitert.join(', ')}`);
} finally {
  await browser.close();
  webserver.close();
}

// Every page of the navigation, opened as a visitor would follow it.
async function importiertePruefen(page, geladen) {
  const ziele = await page.$$eval('ul#Navigation a', (as) => as.map((a) => a.href));
  pruefe(ziele.length === 4, `${ziele.length} statt 4 Seiten in der Navigation`);
  const gezeigt = new Set();
  let bilder = 0;
  let hintergruende = 0;
  for (const [i, ziel] of ziele.entries()) {
    geladen.clear();
    await page.goto(ziel, { waitUntil: 'load' });
    const name = ziel.replace(/^.*\//, '');
    const img = await page.$$eval('#Inhalt img', (is) =>
      is.map((b) => ({ src: b.src, breite: b.complete ? b.naturalWidth : 0 })));
    for (const b of img) {
      pruefe(b.breite > 0, `${name}: Bild ${b.src} wurde nicht geladen`);
      if (b.breite > 0) gezeigt.add(b.src.replace(/^.*\//, ''));
    }
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
    pruefe(ueberlauf.every((o) => o === (ohneSeite ? 'visible' : 'hidden')),
           `${name}: css/ie.css wirkt nicht wie erwartet (overflow-y: ${ueberlauf})`);
    if (i === 0) {
      const text = await page.$eval('#Inhalt', (d) => d.textContent);
      pruefe(text.includes('é € „“') && text.includes('Grüße'), `${name}: Zeichen fehlen in „${text.trim()}“`);
    }
  }
  // Guards the check itself: the site has pictures to show, those whose
  // names the web server must decode among them.
  pruefe(bilder >= 7 && hintergruende >= 1, `nur ${bilder} Bilder und ${hintergruende} Hintergründe gesehen`);
  for (const b of ['Gr%C3%B6%C3%9Fe.jpg', 'B%C3%A4ren.gif', 'mein%20bild.png', 'a&b.jpg'])
    pruefe(gezeigt.has(b), `Bild ${b} wurde nicht gezeigt (gezeigt: ${[...gezeigt].join(', ')})`);
}

// The layout of a page: every element shown in the body but the skip link,
// in document order, with its place and size.
function boxen() {
  return [...document.querySelectorAll('body, body *')]
    .filter((e) => e.id !== 'Sprung' && getComputedStyle(e).display !== 'none')
    .map((e) => {
      const r = e.getBoundingClientRect();
      return `${e.tagName}#${e.id} ${[r.x, r.y, r.width, r.height].map((v) => v.toFixed(2)).join(' ')}`;
    });
}

async function axePruefen(page, wo) {
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core/axe.min.js') });
  const ergebnis = await page.evaluate(() => window.axe.run(document, {
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] },
  }));
  for (const v of ergebnis.violations)
    pruefe(false, `${wo}: axe ${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
  pruefe(ergebnis.passes.length > 0, `${wo}: axe hat nichts geprüft`);
}

// The page's own entry of the menu, and only it, is marked by more than a
// colour: a bar beside it and bold text.
async function aktivPruefen(page, wo) {
  const a = await page.evaluate(() => {
    const aktiv = [...document.querySelectorAll('ul#Navigation li.aktiv')];
    const stil = aktiv[0] ? getComputedStyle(aktiv[0]) : null;
    return {
      anzahl: aktiv.length,
      ziel: aktiv[0]?.querySelector('a')?.href,
      hier: location.href.replace(/#.*$/, ''),
      fett: aktiv[0] ? Number(getComputedStyle(aktiv[0].querySelector('a')).fontWeight) : 0,
      balken: stil ? stil.boxShadow : 'none',
      andere: [...document.querySelectorAll('ul#Navigation li:not(.aktiv) a')]
        .map((e) => Number(getComputedStyle(e).fontWeight)),
    };
  });
  pruefe(a.anzahl === 1 && a.ziel === a.hier, `${wo}: ${a.anzahl} Einträge als aktuelle Seite markiert (${a.ziel})`);
  pruefe(a.fett >= 700 && a.andere.every((f) => f < 700), `${wo}: der aktuelle Eintrag ist nicht allein fett`);
  pruefe(/inset/.test(a.balken), `${wo}: der aktuelle Eintrag hat keinen Balken (${a.balken})`);
}

async function handyPruefen(gescheitert) {
  const ohneServer = await dienen(path.dirname(path.resolve(ohneSeite)));
  const start = basis + encodeURIComponent(path.basename(seite));
  try {
    // At a desktop width every box stands where it stands without the layout.
    const mit = await browser.newPage({ viewport: { width: 1280, height: 800 } });
    const ohne = await browser.newPage({ viewport: { width: 1280, height: 800 } });
    await mit.goto(start, { waitUntil: 'load' });
    await ohne.goto(`http://127.0.0.1:${ohneServer.address().port}/` +
                    encodeURIComponent(path.basename(ohneSeite)), { waitUntil: 'load' });
    const [boxenMit, boxenOhne] = [await mit.evaluate(boxen), await ohne.evaluate(boxen)];
    pruefe(boxenMit.length > 10, `nur ${boxenMit.length} Elemente auf der Seite`);
    const anders = boxenMit.findIndex((b, i) => b !== boxenOhne[i]);
    pruefe(anders < 0 && boxenMit.length === boxenOhne.length,
           `1280 px: anders als ohne Handy-Ansicht: ${boxenMit[anders]} statt ${boxenOhne[anders]}`);
    await aktivPruefen(mit, '1280 px');
    await axePruefen(mit, '1280 px');
    await Promise.all([mit.close(), ohne.close()]);

    for (const breite of [320, 390]) {
      const kontext = await browser.newContext({
        viewport: { width: breite, height: 800 }, isMobile: true, hasTouch: true, deviceScaleFactor: 1,
      });
      const p = await kontext.newPage();
      p.on('requestfailed', (r) => gescheitert.push(`${r.url()} (${r.failure()?.errorText})`));
      await p.goto(start, { waitUntil: 'load' });
      const ziele = await p.$$eval('ul#Navigation a', (as) => as.map((a) => a.href));
      for (const [i, ziel] of ziele.entries()) {
        if (i > 0) await p.goto(ziel, { waitUntil: 'load' });
        const wo = `${breite} px, ${ziel.replace(/^.*\//, '')}`;
        const m = await p.evaluate(() => {
          const sichtbar = (e) => e.getClientRects().length > 0;
          const rechteck = (s) => document.querySelector(s).getBoundingClientRect();
          return {
            breite: window.innerWidth,
            seitlich: document.documentElement.scrollWidth,
            kleineSchrift: [...document.querySelectorAll('body *')]
              .filter((e) => sichtbar(e) && [...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim()))
              .map((e) => `${e.tagName} ${getComputedStyle(e).fontSize}`)
              .filter((t) => parseFloat(t.split(' ')[1]) < 16),
            buttons: [...document.querySelectorAll('ul#Navigation a')].map((a) => a.getBoundingClientRect().height),
            menue: rechteck('ul#Navigation'),
            inhalt: rechteck('div#Inhalt'),
            bilder: [...document.querySelectorAll('img')].filter(sichtbar).map((b) => {
              const r = b.getBoundingClientRect();
              return { src: b.src, rechts: r.right, verhaeltnis: r.width / r.height,
                       natuerlich: b.naturalWidth / b.naturalHeight };
            }),
            // A box that scrolls sideways on its own, which keyboards cannot reach.
            rollbar: [...document.querySelectorAll('body *')]
              .filter((e) => /auto|scroll/.test(getComputedStyle(e).overflowX) && e.scrollWidth > e.clientWidth + 1)
              .map((e) => e.tagName + '#' + e.id),
          };
        });
        pruefe(m.breite === breite, `${wo}: die Seite ist ${m.breite} statt ${breite} px breit gesetzt`);
        pruefe(m.seitlich <= breite, `${wo}: die Seite scrollt seitlich (${m.seitlich} px)`);
        pruefe(m.rollbar.length === 0, `${wo}: eigener Rollbereich: ${m.rollbar.join(', ')}`);
        pruefe(m.kleineSchrift.length === 0, `${wo}: Text unter 16 px: ${m.kleineSchrift.slice(0, 5).join(', ')}`);
        pruefe(m.buttons.length >= 2 && m.buttons.every((h) => h >= 44 - 0.01), `${wo}: Buttons unter 44 px: ${m.buttons}`);
        pruefe(m.menue.bottom <= m.inhalt.top + 0.5 && m.menue.width >= breite - 40,
               `${wo}: das Menü steht nicht in voller Breite über dem Inhalt`);
        for (const b of m.bilder) {
          pruefe(b.rechts <= breite + 0.5, `${wo}: Bild ${b.src} ragt über den Rand (${b.rechts})`);
          pruefe(Math.abs(b.verhaeltnis / b.natuerlich - 1) < 0.02, `${wo}: Bild ${b.src} ist verzerrt`);
        }
        await aktivPruefen(p, wo);
        if (i > 0) continue;
        await p.screenshot({ path: bildschirmfoto.replace(/\.png$/, `-${breite}.png`), fullPage: true });
        await axePruefen(p, wo);
        // The first key press reaches the skip link, shown, and it leads to the contents.
        await p.keyboard.press('Tab');
        const sprung = await p.evaluate(() => {
          const r = document.activeElement.getBoundingClientRect();
          return { id: document.activeElement.id, links: r.left, rechts: r.right, oben: r.top };
        });
        pruefe(sprung.id === 'Sprung' && sprung.links >= 0 && sprung.rechts <= breite && sprung.oben >= 0,
               `${wo}: der Link „Zum Inhalt“ erscheint nicht beim ersten Tab (${JSON.stringify(sprung)})`);
        await p.keyboard.press('Enter');
        pruefe(await p.evaluate(() => location.hash) === '#Inhalt', `${wo}: „Zum Inhalt“ führt nicht zum Inhalt`);
      }
      await kontext.close();
    }
  } finally {
    ohneServer.close();
  }
}

if (fehler.length) {
  for (const f of fehler) console.error('FEHLER: ' + f);
  process.exit(1);
}
console.log('Seite in Ordnung');

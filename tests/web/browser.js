// Opens the page in Debian's Chromium (headless, through puppeteer-core) and
// prints what the tests look at as one JSON object.
//
//   node browser.js '{"url": ..., "width": 1280, "height": 720, "ratio": 1,
//                     "wait": "recorded" | milliseconds, "pixels": true,
//                     "fullscreen": true, "resize": [w, h], "lang": "ja"}'
//
// Every request the page makes is listed; with "pixels" the canvas comes back
// as base64 RGBA; with "resize" the window takes that size before the page is
// looked at; with "fullscreen" the page is put in full screen and the
// answer says whether a key, a click and a pointer move each left it. The
// browser speaks "lang" (Japanese unless told), as the user's browser would.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

async function main() {
  const job = JSON.parse(process.argv[2]);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mirobel-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run', '--hide-scrollbars', '--accept-lang=' + (job.lang || 'ja')],
  });
  const out = {requests: [], errors: []};
  try {
    const page = await browser.newPage();
    page.on('request', (r) => out.requests.push(r.url()));
    page.on('pageerror', (e) => out.errors.push(String(e.message || e)));
    page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warn') out.errors.push(m.text()); });
    await page.setViewport({width: job.width, height: job.height, deviceScaleFactor: job.ratio || 1});
    await page.goto(job.url, {waitUntil: 'load'});
    await page.waitForFunction(() => window.MirobelPage && MirobelPage.state !== 'loading', {timeout: 60000});
    if (job.wait === 'recorded')
      await page.waitForFunction(() => MirobelPage.state === 'recorded', {timeout: 300000});
    else
      await new Promise((done) => setTimeout(done, job.wait || 0));
    if (job.resize) {
      await page.setViewport({width: job.resize[0], height: job.resize[1], deviceScaleFactor: job.ratio || 1});
      await new Promise((done) => setTimeout(done, 500));
    }
    out.options = await page.evaluate(() => MirobelPage.describe());
    out.record = await page.evaluate(() => MirobelPage.record());
    out.canvas = await page.evaluate(() => {
      const c = document.getElementById('show');
      const box = c.getBoundingClientRect();
      return {width: c.width, height: c.height, cssWidth: box.width, cssHeight: box.height};
    });
    if (job.pixels)
      out.pixels = await page.evaluate(() => {
        const c = document.getElementById('show');
        const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let text = '';
        for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
        return btoa(text);
      });
    if (job.screenshot) await page.screenshot({path: job.screenshot});
    if (job.fullscreen) {
      out.leaves = {};
      const enter = () => page.evaluate(() => document.documentElement.requestFullscreen().then(() => true, () => false));
      const inside = () => page.evaluate(() => document.fullscreenElement !== null);
      const settle = () => new Promise((done) => setTimeout(done, 300));
      const inputs = {
        key: () => page.keyboard.press('KeyA'),
        click: () => page.mouse.click(job.width / 2, job.height / 2),
        move: async () => { await page.mouse.move(10, 10); await page.mouse.move(40, 30, {steps: 3}); },
      };
      for (const [name, input] of Object.entries(inputs)) {
        out.entered = (await enter()) && (await inside());
        await settle();
        await input();
        await settle();
        out.leaves[name] = !(await inside());
        if (await inside()) await page.evaluate(() => document.exitFullscreen());
        await settle();
      }
    }
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  process.stdout.write(JSON.stringify(out));
}

main().catch((e) => {
  process.stderr.write(String(e && e.stack || e) + '\n');
  process.exit(1);
});

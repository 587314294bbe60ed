// The published demo's page in headless Chromium, driven by puppeteer-core (run by tests/web/run.sh).
// Usage: node page.js BASE_URL WORK_DIR SHOT_FRAMES
// WORK_DIR holds site/ (served at BASE_URL: the published demo, drop.qdisk, broken.qdisk, walk.txt),
// shots/N.png (the runner's screenshots of the demo walk) and broken.txt (the runner's words on the
// broken disk).
'use strict';
const puppeteer = require('puppeteer-core');
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const [base, work, shotList] = process.argv.slice(2);
const shots = shotList.split(',').map(Number);
const kMinPsnr = 40;

// The page's status object, without the screenshots.
async function status(page) {
  return page.evaluate(() => {
    const q = window.quorvart;
    return q ? { state: q.state, frame: q.frame, audio: q.audio, mixed: q.mixed, error: q.error } : null;
  });
}

// Waits until fn(arg) holds in the page; an uncaught error in the page ends the wait at once.
async function waitFor(page, what, fn, arg, seconds = 30) {
  let failed;
  const error = new Promise((resolve, reject) => (failed = reject));
  page.failWait = (message) => failed(new Error(`${what}: the page failed: ${message}`));
  if (page.errors.length) page.failWait(page.errors[0]);
  try {
    await Promise.race([page.waitForFunction(fn, { timeout: seconds * 1000, polling: 50 }, arg), error]);
  } catch (e) {
    if (e.message.includes('the page failed')) throw e;
    throw new Error(`${what}: not so after ${seconds} s; window.quorvart is ${JSON.stringify(await status(page))}`);
  } finally {
    page.failWait = null;
  }
}

const isState = (state) => window.quorvart && window.quorvart.state === state;

// A page whose uncaught errors are kept (and end any wait) and whose console errors are shown.
async function newPage(browser) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (e) => {
    page.errors.push(e.message);
    if (page.failWait) page.failWait(e.message);
  });
  page.on('console', (m) => {
    if (m.type() === 'error' && !m.text().startsWith('Failed to load resource')) console.log(`  console: ${m.text()}`);
  });
  page.on('response', (r) => {
    if (r.status() >= 400 && !r.url().endsWith('/favicon.ico')) console.log(`  ${r.status()} for ${r.url()}`);
  });
  await page.setViewport({ width: 1024, height: 768 });
  return page;
}

async function open(browser, query = '') {
  const page = await newPage(browser);
  await page.goto(base + query);
  return page;
}

// Whether an element is shown: in the document, laid out and not hidden.
function shown(page, selector) {
  return page.evaluate((s) => {
    const e = document.querySelector(s);
    if (!e) return false;
    const style = getComputedStyle(e);
    return e.getClientRects().length > 0 && style.visibility !== 'hidden' && style.display !== 'none';
  }, selector);
}

// Ticks or unticks a check box with a trusted click, as a viewer does.
async function setBox(page, id, checked) {
  if ((await page.$eval(`#${id}`, (e) => e.checked)) !== checked) await page.click(`#${id}`);
}

const tests = {
  // While the disk is fetched the progress bar shows; then the start screen: the launcher picture,
  // the two labelled check boxes (kept in local storage), the start button, no error, no sound yet.
  async startScreen(browser) {
    const page = await newPage(browser);
    await page.setRequestInterception(true);
    let release;
    const held = new Promise((resolve) => (release = resolve));
    page.on('request', async (request) => {
      if (request.url().endsWith('/disk.qdisk')) await held;
      request.continue();
    });
    await page.goto(base, { waitUntil: 'domcontentloaded' });
    await waitFor(page, 'the progress bar while the disk is fetched', () => {
      const p = document.getElementById('progress');
      return p && p.tagName === 'PROGRESS' && p.getClientRects().length > 0;
    });
    const loading = await status(page);
    if (loading && loading.state !== 'loading') throw new Error(`state while fetching is ${loading.state}`);
    release();
    await waitFor(page, 'the start screen', isState, 'start');
    const screen = await page.evaluate(() => {
      const box = (id) => {
        const e = document.getElementById(id);
        if (!e) return null;
        const label = e.labels && e.labels[0] ? e.labels[0].textContent.trim() : null;
        return { type: e.type, label };
      };
      const img = document.getElementById('launcher');
      return {
        launcher: img ? `${img.tagName} ${img.complete} ${img.naturalWidth}x${img.naturalHeight}` : null,
        fullscreen: box('fullscreen'),
        sound: box('sound'),
        start: document.getElementById('start') ? document.getElementById('start').tagName : null,
        audio: window.quorvart.audio,
      };
    });
    const problems = [];
    if (!/^IMG true [1-9]\d*x[1-9]/.test(screen.launcher || '')) problems.push(`launcher picture: ${screen.launcher}`);
    if (!screen.fullscreen || screen.fullscreen.type !== 'checkbox' || screen.fullscreen.label !== 'Full screen')
      problems.push(`#fullscreen: ${JSON.stringify(screen.fullscreen)}`);
    if (!screen.sound || screen.sound.type !== 'checkbox' || screen.sound.label !== 'Sound')
      problems.push(`#sound: ${JSON.stringify(screen.sound)}`);
    if (screen.start !== 'BUTTON') problems.push(`#start is ${screen.start}, not a button`);
    if (screen.audio === 'running') problems.push('the sound runs before the start press');
    if (await shown(page, '#error')) problems.push('#error shows on a disk that loads');
    // The boxes are kept: both flipped, the page loaded again, both still flipped.
    const before = await page.evaluate(() => [fullscreen.checked, sound.checked]);
    await page.click('#fullscreen');
    await page.click('#sound');
    await page.reload();
    await waitFor(page, 'the start screen again', isState, 'start');
    const after = await page.evaluate(() => [fullscreen.checked, sound.checked]);
    if (after[0] === before[0] || after[1] === before[1])
      problems.push(`the check boxes were ${before}, flipped, and are ${after} after a reload`);
    await page.click('#fullscreen');
    await page.click('#sound');
    await page.close();
    if (problems.length) throw new Error(problems.join('; '));
  },

  // A trusted click on the start button starts the sound: the audio context runs and the mixer's
  // samples keep flowing.
  async clickStartsSound(browser) {
    const page = await open(browser);
    await waitFor(page, 'the start screen', isState, 'start');
    await setBox(page, 'fullscreen', false);
    await setBox(page, 'sound', true);
    await page.click('#start');
    await waitFor(page, 'playing with the sound running', () => {
      const q = window.quorvart;
      return q.state === 'playing' && q.audio === 'running' && q.mixed > 0 && q.frame > 0;
    });
    const first = await status(page);
    await new Promise((r) => setTimeout(r, 1000));
    const second = await status(page);
    await page.close();
    // Chromium mixes at 44.1 or 48 kHz: a second of wall time is well over a quarter second of sound.
    if (second.mixed - first.mixed < 11025 || second.frame <= first.frame)
      throw new Error(`in a second: mixed ${first.mixed} -> ${second.mixed}, frame ${first.frame} -> ${second.frame}`);
  },

  // The demo walk in virtual time: each screenshot the page keeps is the runner's, or within 40 dB.
  async demoWalk(browser) {
    const page = await open(browser, `?frame-ms=16&input=walk.txt&shots=${shots.join(',')}&autostart=1`);
    await waitFor(page, `screenshots of frames ${shots}`, (n) => {
      const s = window.quorvart && window.quorvart.shots;
      return s && n.every((f) => typeof s[f] === 'string');
    }, shots, 180);
    const problems = [];
    for (const f of shots) {
      const url = await page.evaluate((n) => window.quorvart.shots[n], f);
      const file = path.join(work, `page-${f}.png`);
      fs.writeFileSync(file, Buffer.from(url.replace(/^data:image\/png;base64,/, ''), 'base64'));
      const reference = path.join(work, 'shots', `${f}.png`);
      // compare searches a smaller picture inside the larger: the sizes are checked first.
      const sizes = [reference, file].map((p) =>
        spawnSync('identify', ['-format', '%wx%h', p], { encoding: 'utf8' }).stdout.trim());
      if (sizes[0] !== sizes[1]) {
        problems.push(`frame ${f}: the page's picture is ${sizes[1]}, the runner's ${sizes[0]}`);
        continue;
      }
      const r = spawnSync('compare', ['-metric', 'PSNR', reference, file, 'null:'], { encoding: 'utf8' });
      const said = r.stderr.trim();
      const psnr = said === 'inf' ? Infinity : parseFloat(said);
      console.log(`  frame ${f}: PSNR ${psnr === Infinity ? 'identical' : said}`);
      if (!(psnr >= kMinPsnr)) problems.push(`frame ${f}: ${said || r.error} (the page's in ${file})`);
    }
    await page.close();
    if (problems.length) throw new Error(problems.join('; '));
  },

  // A tap on the touch screen is a jump and a press: tapped on a menu entry, the page opens what
  // the runner opens for the pointer moved there and the left button pressed. The page runs in real
  // time here (its test mode takes no input but its script's), so the stars behind differ (about
  // 26 dB): the page is near the runner's picture of the opened entry, and far from the menu's (14).
  async tapOpensTheEntry(browser) {
    const at = { x: 190, y: 303 };
    const page = await newPage(browser);
    await page.setViewport({ width: 1024, height: 768, hasTouch: true });
    await page.goto(`${base}?autostart=1`);
    await waitFor(page, 'the menu in place', () => window.quorvart.frame >= 40);
    const box = await page.$eval('#canvas', (c) => {
      const r = c.getBoundingClientRect();
      return { x: r.left, y: r.top };
    });
    await page.touchscreen.tap(box.x + at.x, box.y + at.y);
    const tapped = (await status(page)).frame;
    await waitFor(page, 'the entry opened', (n) => window.quorvart.frame >= n, tapped + 100);
    const shot = path.join(work, 'tap-page.png');
    await page.screenshot({ path: shot, clip: { x: box.x, y: box.y, width: 1024, height: 768 } });
    await page.close();
    const psnr = {};
    for (const [name, input] of [['entry', `40 mouse ${at.x} ${at.y}\n40 button left down\n41 button left up\n`],
      ['menu', `40 mouse ${at.x} ${at.y}\n`]]) {
      const file = path.join(work, `tap-${name}.txt`);
      const runnerShot = path.join(work, `tap-${name}.png`);
      fs.writeFileSync(file, input);
      const run = spawnSync(process.env.QA_RUN, [process.env.QA_DEMO, '--frames', '141', '--input', file,
        '--shot', `140:${runnerShot}`], { encoding: 'utf8' });
      if (run.status !== 0) throw new Error(`quorvart-run: ${run.stderr || run.error}`);
      const r = spawnSync('compare', ['-metric', 'PSNR', runnerShot, shot, 'null:'], { encoding: 'utf8' });
      psnr[name] = r.stderr.trim() === 'inf' ? Infinity : parseFloat(r.stderr);
    }
    console.log(`  PSNR against the runner's opened entry ${psnr.entry}, against its menu ${psnr.menu}`);
    if (!(psnr.entry >= 20 && psnr.entry > psnr.menu + 6))
      throw new Error(`the tapped page (${shot}) is not the entry the runner opens`);
  },

  // A trusted key press on the start button starts the sound too. A .qdisk dropped on the playing
  // page replaces the disk: back to the start screen, and it plays.
  async droppedDisk(browser) {
    const page = await open(browser);
    await waitFor(page, 'the start screen', isState, 'start');
    await setBox(page, 'fullscreen', false);
    await setBox(page, 'sound', true);
    await page.focus('#start');
    await page.keyboard.press('Enter');
    await waitFor(page, 'playing with the sound running after Enter on the start button',
      () => window.quorvart.state === 'playing' && window.quorvart.audio === 'running');
    await waitFor(page, 'thirty frames of the demo', () => window.quorvart.frame > 30);
    const demo = await page.screenshot({ clip: { x: 0, y: 0, width: 1024, height: 768 } });
    const bytes = fs.readFileSync(path.join(work, 'site', 'drop.qdisk')).toString('base64');
    await page.evaluate((b64) => {
      const data = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const transfer = new DataTransfer();
      transfer.items.add(new File([data], 'music.qdisk', { type: 'application/octet-stream' }));
      const target = document.elementFromPoint(innerWidth / 2, innerHeight / 2) || document.body;
      for (const type of ['dragenter', 'dragover', 'drop'])
        target.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }, bytes);
    await waitFor(page, 'the start screen after the drop', isState, 'start');
    await page.click('#start');
    await waitFor(page, 'the dropped disk playing', () => window.quorvart.state === 'playing' && window.quorvart.frame > 30);
    const dropped = await page.screenshot({ clip: { x: 0, y: 0, width: 1024, height: 768 } });
    const after = await status(page);
    await page.close();
    if (after.error) throw new Error(`the dropped disk: error ${after.error}`);
    if (dropped.equals(demo)) throw new Error('the page shows the same picture after the drop');
  },

  // A disk whose scene does not parse: the error panel with the desktop player's line and column.
  // As on the desktop, the scene may be read only after the start press.
  async brokenDisk(browser) {
    const said = fs.readFileSync(path.join(work, 'broken.txt'), 'utf8');
    const line = (said.match(/^.*QuorvArt\.XQD:\d+:\d+: error: .*$/m) || [])[0];
    if (!line) throw new Error(`the runner gave no line and column for the broken disk: ${said}`);
    const page = await open(browser, '?disk=broken.qdisk');
    await waitFor(page, 'the start screen or the error', () => ['start', 'error'].includes(window.quorvart.state));
    if ((await status(page)).state === 'start') await page.click('#start');
    await waitFor(page, 'the error state', isState, 'error');
    const panel = await page.evaluate(() => {
      const e = document.getElementById('error');
      return e ? e.innerText : null;
    });
    const visible = await shown(page, '#error');
    const error = (await status(page)).error;
    await page.close();
    const problems = [];
    if (!visible) problems.push('#error is not shown');
    if (!panel || !panel.includes(line)) problems.push(`#error says ${JSON.stringify(panel)}, not ${JSON.stringify(line)}`);
    if (!error.includes(line)) problems.push(`window.quorvart.error is ${JSON.stringify(error)}`);
    if (problems.length) throw new Error(problems.join('; '));
  },

  // A player that cannot be fetched (its code, or its compiled part) is said on the page's error
  // panel, never left as a progress bar or a blank page; a compiled part sent under another type
  // than application/wasm still plays.
  async playerThatDoesNotLoad(browser) {
    const problems = [];
    const cases = [
      { file: 'quorvart.js', retype: false, state: 'error' },
      { file: 'quorvart.wasm', retype: false, state: 'error' },
      { file: 'quorvart.wasm', retype: true, state: 'start' },
    ];
    for (const c of cases) {
      const what = c.retype ? `${c.file} sent as application/octet-stream` : `without ${c.file}`;
      const page = await newPage(browser);
      await page.setRequestInterception(true);
      page.on('request', async (r) => {
        if (!r.url().split('?')[0].endsWith('/' + c.file)) return r.continue();
        if (!c.retype) return r.abort();
        const body = fs.readFileSync(path.join(work, 'site', c.file));
        return r.respond({ status: 200, contentType: 'application/octet-stream', body });
      });
      await page.goto(base);
      try {
        await page.waitForFunction((s) => window.quorvart.state === s, { timeout: 30000, polling: 50 }, c.state);
      } catch (e) {
        problems.push(`${what}: the state is ${JSON.stringify(await status(page))}`);
      }
      if (c.state === 'error') {
        if (!(await shown(page, '#error'))) problems.push(`${what}: #error is not shown`);
        const said = await page.evaluate(() => document.getElementById('error').innerText);
        if (!said.trim()) problems.push(`${what}: #error says nothing`);
      }
      await page.close();
    }
    if (problems.length) throw new Error(problems.join('; '));
  },
};

(async () => {
  const only = process.env.QA_WEB_TESTS ? process.env.QA_WEB_TESTS.split(',') : Object.keys(tests);
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu'],
  });
  let failed = 0;
  for (const name of only) {
    const started = Date.now();
    try {
      await tests[name](browser);
      console.log(`ok    ${name} (${Date.now() - started} ms)`);
    } catch (e) {
      failed++;
      console.log(`FAIL  ${name}: ${e.message}`);
    }
  }
  await browser.close();
  console.log(failed ? `${failed} of ${only.length} web tests failed` : `all ${only.length} web tests passed`);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});

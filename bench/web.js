// The published demo's page in headless Chromium, timed (run by bench/web.sh): the start press to the
// first frame drawn, CPU per frame of the home screen (the demo's busiest) with sound off and on, and
// the page's memory. Prints one line of key=value figures.
// Usage: node web.js BASE_URL
'use strict';
const puppeteer = require('puppeteer-core');
const fs = require('fs');

const base = process.argv[2];
const kRuns = 5;
const kSeconds = 5;

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

// CPU seconds (user and system) of a process, from /proc.
function cpuSeconds(pid) {
  const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return (Number(fields[11]) + Number(fields[12])) / 100;  // utime, stime in clock ticks
}

function residentKb(pid) {
  const m = fs.readFileSync(`/proc/${pid}/status`, 'utf8').match(/VmRSS:\s+(\d+)/);
  return m ? Number(m[1]) : 0;
}

// The renderer processes under the browser's process (the page's is the busiest of them).
function renderers(browserPid) {
  const out = [];
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const cmd = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      if (cmd.includes('--type=renderer') && !cmd.includes('--extension-process')) {
        const ppidOf = (p) => Number(fs.readFileSync(`/proc/${p}/stat`, 'utf8').split(') ')[1].split(' ')[1]);
        for (let p = Number(pid); p > 1; p = ppidOf(p)) {
          if (p === browserPid) {
            out.push(Number(pid));
            break;
          }
        }
      }
    } catch (e) {
      // the process ended meanwhile
    }
  }
  return out;
}

async function startPage(browser, sound) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(base);
  await page.waitForFunction(() => window.quorvart && window.quorvart.state === 'start', { timeout: 60000 });
  await page.evaluate((on) => {
    document.getElementById('fullscreen').checked = false;
    document.getElementById('sound').checked = on;
    // The press's time, and the time the first frame has been drawn.
    document.getElementById('start').addEventListener('click', () => {
      window.pressedAt = performance.now();
      const tick = () => {
        if (window.quorvart.frame >= 1) window.firstFrameAt = performance.now();
        else requestAnimationFrame(tick);
      };
      tick();
    }, { capture: true });
  }, sound);
  await page.click('#start');
  await page.waitForFunction(() => window.firstFrameAt !== undefined, { timeout: 60000 });
  return page;
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu'],
  });
  const browserPid = browser.process().pid;
  const figures = {};

  // The start press to the first frame, a fresh page each time.
  const starts = [];
  for (let i = 0; i < kRuns; i++) {
    const page = await startPage(browser, false);
    starts.push(await page.evaluate(() => window.firstFrameAt - window.pressedAt));
    await page.close();
  }
  figures.start_to_first_frame_ms = median(starts).toFixed(1);

  // The home screen playing: after two seconds (the menu has slid in), kSeconds of frames.
  for (const sound of [false, true]) {
    const name = sound ? 'sound' : 'nosound';
    const page = await startPage(browser, sound);
    await sleep(2000);
    const pids = renderers(browserPid);
    const before = await page.evaluate(() => window.quorvart.frame);
    const metricsBefore = await page.metrics();
    const cpuBefore = pids.map(cpuSeconds);
    await sleep(kSeconds * 1000);
    const frames = (await page.evaluate(() => window.quorvart.frame)) - before;
    const metricsAfter = await page.metrics();
    const cpu = pids.map(cpuSeconds).reduce((sum, c, i) => sum + c - cpuBefore[i], 0);
    figures[`fps_${name}`] = (frames / kSeconds).toFixed(1);
    figures[`renderer_cpu_ms_per_frame_${name}`] = ((cpu * 1000) / frames).toFixed(2);
    figures[`main_thread_ms_per_frame_${name}`] = (
      ((metricsAfter.TaskDuration - metricsBefore.TaskDuration) * 1000) / frames
    ).toFixed(2);
    if (sound) {
      const q = await page.evaluate(() => ({ audio: window.quorvart.audio, mixed: window.quorvart.mixed }));
      figures.audio = q.audio;
      figures.mixed = q.mixed;
      // The page's memory while it plays: the renderer's resident set, the JavaScript heap and the
      // player's WebAssembly memory.
      figures.renderer_rss_mb = (Math.max(...pids.map(residentKb)) / 1024).toFixed(1);
      figures.js_heap_mb = (metricsAfter.JSHeapUsedSize / 1048576).toFixed(1);
      figures.wasm_memory_mb = (
        (await page.evaluate(() => (window.Module && Module.HEAPU8 ? Module.HEAPU8.length : 0))) / 1048576
      ).toFixed(1);
    }
    await page.close();
  }
  await browser.close();
  console.log(Object.entries(figures).map(([k, v]) => `${k}=${v}`).join(' '));
})().catch((e) => {
  console.error(e);
  process.exit(1);
});

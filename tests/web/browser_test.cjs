// The web player in a real browser (headless Chromium driven over its debugging protocol):
//   - the demo reaches its title, and the canvas shows exactly what the desktop player's
//     headless run draws at the title;
//   - a new game walks three steps;
//   - a game saved in the browser survives a reload of the page and loads again;
//   - a battle starts in another game packed by `vorn-data web`;
//   - the canvas keeps a whole-number scale as the window changes size.
// Prints the figures (start-up to the title, passes a second) and "N passed, M failed".
//
//   node tests/web/browser_test.cjs --root DIR --npm DIR --reference TITLE.png [--shots DIR]
// DIR holds the pages: demo/ (the demo) and plains/ (the demo starting beside a battle).
"use strict";

const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");

const options = {};
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
const puppeteer = require(path.join(options.npm, "node_modules", "puppeteer-core"));

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };

// A static server of the pages on the loopback address only.
function serve(root) {
  const server = http.createServer((request, response) => {
    const wanted = path.normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = path.join(root, wanted);
    if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

let passed = 0, failed = 0;
async function check(name, body) {
  const started = Date.now();
  try {
    await body();
    passed++;
    console.log(`ok      ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  } catch (error) {
    failed++;
    console.log(`FAILED  ${name}: ${error.message}`);
  }
}

function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// Waits until `test(page's vornPage)` holds, polling; fails after `ms`.
async function until(page, what, test, ms = 60000) {
  const deadline = Date.now() + ms;
  for (;;) {
    const value = await page.evaluate(test).catch(() => undefined);
    if (value) return value;
    if (Date.now() > deadline) {
      const tail = await page.evaluate(() => (Module.vornPage ? Module.vornPage.transcript.slice(-8) : []))
        .catch(() => []);
      throw new Error(`no ${what} within ${ms / 1000} s (last lines: ${JSON.stringify(tail)})`);
    }
    await new Promise((r) => setTimeout(r, 50));
  }
}

// Waits for a transcript line holding `text` after line number `from`; returns its index.
function line(page, text, from = 0, ms) {
  return until(page, `line with ${text}`, new Function(`
    const lines = Module.vornPage ? Module.vornPage.transcript : [];
    for (let i = ${from}; i < lines.length; i++) if (lines[i][1].includes(${JSON.stringify(text)})) return i + 1;
    return 0;`), ms);
}

const lineCount = (page) => page.evaluate(() => Module.vornPage.transcript.length);
const state = (page) => page.evaluate(() => Module.vornPage.state());
const pause = (ms) => new Promise((r) => setTimeout(r, ms));

// A key pressed and let go at once. The player counts a press as held until its next pass, so
// the tap is seen once: a step on the field, one move of a menu's cursor.
async function tap(page, key, after = 250) {
  await page.keyboard.down(key);
  await page.keyboard.up(key);
  await pause(after);
}

// The number of canvas pixels that differ from the PNG given as base64.
function differingPixels(page, png) {
  return page.evaluate(async (data) => {
    const canvas = document.getElementById("canvas");
    const shown = canvas.getContext("2d").getImageData(0, 0, 512, 384).data;
    const image = await createImageBitmap(await (await fetch("data:image/png;base64," + data)).blob());
    const scratch = new OffscreenCanvas(512, 384);
    const context = scratch.getContext("2d");
    context.drawImage(image, 0, 0);
    const wanted = context.getImageData(0, 0, 512, 384).data;
    let differing = 0;
    for (let i = 0; i < wanted.length; i += 4) {
      if (shown[i] !== wanted[i] || shown[i + 1] !== wanted[i + 1] || shown[i + 2] !== wanted[i + 2]) differing++;
    }
    return differing;
  }, png);
}

async function shot(page, name) {
  if (!options.shots) return;
  const canvas = await page.$("#canvas");
  await canvas.screenshot({ path: path.join(options.shots, name) });
}

async function main() {
  const server = await serve(path.resolve(options.root));
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "vorn-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--autoplay-policy=no-user-gesture-required"],
  });
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 860 });
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  // The quit question and any other box are answered as a player would: no.
  page.on("dialog", (dialog) => dialog.dismiss());
  const demo = `${base}/demo/index.html?seed=7&text-speed=0`;
  const figures = {};

  await check("the demo reaches its title and draws it as the desktop player does", async () => {
    const opened = Date.now();
    await page.goto(demo);
    await line(page, "読", 0, 90000);
    figures.startUpMs = Date.now() - opened;
    await pause(1000);
    const differing = await differingPixels(page, fs.readFileSync(options.reference).toString("base64"));
    await shot(page, "web-title.png");
    expect(differing === 0, `${differing} pixels of the title differ from the desktop player's`);
  });

  await check("the canvas scales by whole factors", async () => {
    const size = () => page.evaluate(() => [Module.vornPage.scale, document.getElementById("canvas").clientWidth,
      document.getElementById("canvas").clientHeight]);
    const [scale, width, height] = await size();
    expect(scale === 2 && width === 1024 && height === 768, `at 1100 x 860: scale ${scale}, ${width} x ${height}`);
    await page.setViewport({ width: 1700, height: 1250 });
    await pause(200);
    const [bigger, w3, h3] = await size();
    expect(bigger === 3 && w3 === 1536 && h3 === 1152, `at 1700 x 1250: scale ${bigger}, ${w3} x ${h3}`);
    await page.setViewport({ width: 500, height: 400 });
    await pause(200);
    const [least] = await size();
    expect(least === 1, `at 500 x 400: scale ${least}`);
    await page.setViewport({ width: 1100, height: 860 });
  });

  let saved = null;
  await check("a new game walks three steps", async () => {
    await tap(page, "Space");
    await line(page, "旅の支度");
    await tap(page, "Space", 600);
    const start = await state(page);
    for (let i = 0; i < 3; i++) await tap(page, "ArrowLeft", 400);
    const walked = await state(page);
    expect(walked.map === start.map, `the map changed from ${start.map} to ${walked.map}`);
    const moved = start.player.column - walked.player.column;
    expect(moved === 3 && walked.player.row === start.player.row,
      `from ${JSON.stringify(start.player)} to ${JSON.stringify(walked.player)}`);
    saved = walked;
  });

  await check("a game saved in the browser survives a reload and loads again", async () => {
    expect(saved, "no game to save");
    // The field menu, its save entry, slot 3.
    let from = await lineCount(page);
    await tap(page, "Space");
    from = await line(page, "終      了", from);
    for (let i = 0; i < 4; i++) await tap(page, "ArrowDown", 150);
    await tap(page, "Space");
    from = await line(page, "保存先を選択してください", from);
    const stored = await page.evaluate(() => Module.vornPage.savesStored);
    for (let i = 0; i < 2; i++) await tap(page, "ArrowDown", 150);
    await tap(page, "Space");
    await line(page, "saved slot 3", from);
    await until(page, "the save in the browser's storage", new Function(`return Module.vornPage.savesStored > ${stored}`));

    await page.reload();
    await line(page, "読", 0, 90000);
    const title = await state(page);
    expect(title.slots[2] !== "------------", `slot 3 after the reload: ${title.slots[2]}`);
    // The title's load entry, slot 3.
    from = await lineCount(page);
    await tap(page, "ArrowDown", 150);
    await tap(page, "Space");
    from = await line(page, "読込先を選択してください", from);
    for (let i = 0; i < 2; i++) await tap(page, "ArrowDown", 150);
    await tap(page, "Space");
    await line(page, "loaded slot 3", from);
    await pause(800);
    const loaded = await state(page);
    expect(loaded.map === saved.map && JSON.stringify(loaded.player) === JSON.stringify(saved.player),
      `saved on map ${saved.map} at ${JSON.stringify(saved.player)}, loaded on map ${loaded.map} at ${JSON.stringify(loaded.player)}`);
  });

  await check("the player keeps 60 passes a second", async () => {
    const [passes0, time0] = await page.evaluate(() => [Module.vornPage.passes, performance.now()]);
    await pause(5000);
    const [passes1, time1] = await page.evaluate(() => [Module.vornPage.passes, performance.now()]);
    figures.passesPerSecond = (passes1 - passes0) / ((time1 - time0) / 1000);
    expect(figures.passesPerSecond > 55, `${figures.passesPerSecond.toFixed(1)} passes a second`);
  });

  await check("a battle starts in a game packed with vorn-data web", async () => {
    await page.goto(`${base}/plains/index.html?seed=7&text-speed=0`);
    await line(page, "読", 0, 90000);
    await tap(page, "Space");
    const from = await line(page, "map ");
    await pause(500);
    await tap(page, "ArrowRight", 300);
    await line(page, "encounter", from, 20000);
    await pause(1500);
    await shot(page, "web-battle.png");
    const inBattle = await state(page);
    expect(inBattle.battle && inBattle.battle.enemies.length > 0, "no enemies in the battle state");
  });

  await check("no script errors on the pages", async () => {
    expect(errors.length === 0, errors.join("; "));
  });

  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
  console.log(`figures: start-up to the title ${figures.startUpMs} ms, ${figures.passesPerSecond ? figures.passesPerSecond.toFixed(1) : "?"} passes a second`);
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  console.log(`${passed} passed, ${failed + 1} failed`);
  process.exit(1);
});

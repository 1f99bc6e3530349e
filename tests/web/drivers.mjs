// The browsers the checks run in, each behind one small adapter, so that
// the checks are written once. A browser adapter has:
//   name, supports: { ...what only some drivers can do, each with why not },
//   newPage() -> a page, newContext() -> a browser of its own storage,
//   close().
// A page has the part of puppeteer's Page that the checks use: evaluate,
// $eval, $ (with boundingBox and uploadFile), waitForFunction (with jsonValue), click,
// focus, keyboard.{press, down, up, sendCharacter}, mouse.{move, down, up},
// setViewport, goto, reload, close; errors, the page's uncaught errors; and
// touchscreen.touchStart(x, y) -> a finger with end().
// Chromium and Firefox are driven by puppeteer-core, whose pages are the
// adapter as they are; WebKit (WebKitGTK's MiniBrowser) by selenium-webdriver
// through WebKitWebDriver, over W3C WebDriver.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key, Origin } from 'selenium-webdriver';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));


const engines = {
  chromium: {
    path: '/usr/bin/chromium',
    package: 'chromium',
    launch: () => launchPuppeteer('/usr/bin/chromium', {
      browser: 'chrome',
      headless: true,
      // As root Chromium needs --no-sandbox; WebGL runs on its software
      // renderer; the rest keeps it off a network it does not have.
      args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--disable-renderer-backgrounding',
        '--disable-background-timer-throttling'],
    }, { deviceScale: true }),
  },
  firefox: {
    path: '/usr/bin/firefox-esr',
    package: 'firefox-esr',
    display: true,
    launch: () => launchPuppeteer('/usr/bin/firefox-esr', {
      browser: 'firefox',
      // Headless Firefox finds no GL driver here; a real window in the
      // private X server the test runs under gets WebGL on Mesa.
      headless: false,
      extraPrefsFirefox: {
        'webgl.force-enabled': true,
        'browser.shell.checkDefaultBrowser': false,
      },
    }, { deviceScale: true }),
  },
  webkit: {
    path: '/usr/bin/WebKitWebDriver',
    package: 'webkit2gtk-driver',
    display: true,
    launch: launchWebKit,
  },
};

export const engineNames = Object.keys(engines);

export async function launch(engine) {
  const setup = engines[engine];
  if (!setup) throw new Error(`unknown browser '${engine}' (known: ${engineNames.join(', ')})`);
  if (!fs.existsSync(setup.path)) {
    throw new Error(`${setup.path} is missing: install the '${setup.package}' package (make test does)`);
  }
  if (setup.display && !process.env.DISPLAY) {
    throw new Error(`${engine} needs an X display: run this under tests/with-xvfb.sh (ctest does)`);
  }
  return setup.launch();
}

// --- puppeteer: Chromium and Firefox ---------------------------------------

async function launchPuppeteer(path, options, supports) {
  const browser = await puppeteer.launch({ executablePath: path, ...options });
  const wrap = (owner) => ({
    supports,
    // The driver's own browser, for the benchmarks' puppeteer-only figures.
    puppeteer: browser,
    async newPage() {
      const page = await owner.newPage();
      page.errors = [];
      page.on('pageerror', (error) => page.errors.push(String(error.message || error)));
      return page;
    },
    async newContext() { return wrap(await browser.createBrowserContext()); },
    close: () => owner.close(),
  });
  return wrap(browser);
}

// --- WebDriver: WebKit -------------------------------------------------------

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// MiniBrowser's windows are no narrower than this: a narrower screen is an
// iframe of exactly its size in a wider window.
const narrowest = 460;

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// Every process now, from /proc: pid to its parent and the CPU seconds it
// has used (user and system, in ticks of 1/100 s).
export function processes() {
  const all = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      all.set(Number(name), { parent: Number(fields[1]), cpu: (Number(fields[11]) + Number(fields[12])) / 100 });
    } catch {
      // ended meanwhile
    }
  }
  return all;
}

// The processes under pid, at any depth: what a browser or driver started.
export function processesUnder(pid, all = processes()) {
  const under = [];
  for (let i = -1, at = pid; i < under.length; at = under[++i]) {
    for (const [child, { parent }] of all) if (parent === at) under.push(child);
  }
  return under;
}

// The driver and its browser ended, whatever state they are in. A browser
// left behind by a driver that died keeps the driver's stderr open, and so
// this process alive, for ever.
function endDriver(server) {
  for (const pid of [...processesUnder(server.pid), server.pid]) {
    try {
      process.kill(pid, 'SIGKILL');
    } catch {
      // ended meanwhile
    }
  }
  server.stderr.destroy();
}

// A WebKitWebDriver of its own and its one session (it allows no second),
// a MiniBrowser with storage of its own; the server takes a moment to listen.
async function webKitSession() {
  const port = await freePort();
  const server = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`, '--host=127.0.0.1'],
    { stdio: ['ignore', 'ignore', 'pipe'] });
  let said = '';
  server.stderr.on('data', (data) => { said += data; });
  const started = performance.now();
  for (;;) {
    try {
      const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] },
      }).build();
      await driver.manage().setTimeouts({ script: 120000, pageLoad: 60000 });
      return {
        driver,
        async quit() {
          const given = new Promise((resolve) => { setTimeout(resolve, 15000).unref(); });
          await Promise.race([driver.quit().catch(() => {}), given]);
          endDriver(server);
        },
      };
    } catch (error) {
      if (performance.now() - started > 20000) {
        endDriver(server);
        throw new Error(`WebKitWebDriver gave no session: ${error.message} ${said}`);
      }
      await sleep(200);
    }
  }
}

async function launchWebKit() {
  if (!fs.existsSync(miniBrowser)) {
    throw new Error(`${miniBrowser} is missing: install the 'webkit2gtk-driver' package (make test does)`);
  }
  // One window for every page in turn: a new MiniBrowser for each would
  // cost seconds.
  const wrap = (session) => ({
    supports: {
      deviceScale: "WebKitGTK's WebDriver cannot set a pixel ratio per screen: every screen is at the display's ratio of 1",
    },
    async newPage() { return new WebDriverPage(session.driver); },
    async newContext() { return wrap(await webKitSession()); },
    close: () => session.quit(),
  });
  return wrap(await webKitSession());
}

// Key names as puppeteer's, to WebDriver's.
const keyOf = {
  ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT,
  Tab: Key.TAB, Shift: Key.SHIFT, Control: Key.CONTROL, Alt: Key.ALT, Meta: Key.META,
  Escape: Key.ESCAPE, Enter: Key.ENTER, PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN,
  Home: Key.HOME, End: Key.END, Backspace: Key.BACK_SPACE, Delete: Key.DELETE,
  ...Object.fromEntries(Array.from({ length: 12 }, (_, i) => [`F${i + 1}`, Key[`F${i + 1}`]])),
};
const webDriverKey = (key) => keyOf[key] ?? key;

// Installed in every document the page loads: WebKit does not tell the
// driver of a page's errors, so its uncaught errors and rejections are kept
// in the page and read back with each script the test runs. They are what
// puppeteer calls page errors; console output is not (emscripten's runtime
// writes its own notices with console.error, and the page shows its own
// problems to the reader, where the checks look for them).
const errorCollector = `if (!window.__pageErrors) {
  window.__pageErrors = [];
  addEventListener('error', function (e) { __pageErrors.push(String(e.message)); });
  addEventListener('unhandledrejection', function (e) { __pageErrors.push(String(e.reason && e.reason.message || e.reason)); });
}`;

class WebDriverPage {
  constructor(driver) {
    this.driver = driver;
    this.errors = [];
    this.viewport = { width: 1280, height: 900 };
    this.url = null;
    this.framed = false;
    this.keyboard = {
      down: (key) => driver.actions().keyDown(webDriverKey(key)).perform(),
      up: (key) => driver.actions().keyUp(webDriverKey(key)).perform(),
      press: (key) => driver.actions().keyDown(webDriverKey(key)).keyUp(webDriverKey(key)).perform(),
      sendCharacter: (text) => driver.actions().sendKeys(text).perform(),
    };
    this.mouse = {
      move: (x, y) => driver.actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT }).perform(),
      down: () => driver.actions().press().perform(),
      up: () => driver.actions().release().perform(),
    };
    // WebKitGTK's driver gives touch actions to the page as a mouse, so a
    // finger is made in the page: the pointer events a touch screen gives,
    // each finger a pointer of its own, on what is under it.
    let fingers = 0;
    const finger = (type, id, x, y) => this.run(`function (type, id, x, y) {
      var under = document.elementFromPoint(x, y);
      if (!under) throw new Error('no element at ' + x + ', ' + y);
      under.dispatchEvent(new PointerEvent(type, { pointerId: id, pointerType: 'touch', isPrimary: false,
        clientX: x, clientY: y, bubbles: true, cancelable: true, composed: true }));
    }`, [type, id, x, y]);
    this.touchscreen = {
      touchStart: async (x, y) => {
        const id = 2 + fingers++;
        await finger('pointerdown', id, x, y);
        return { end: () => finger('pointerup', id, x, y) };
      },
    };
  }

  // Runs a function's source in the page with JSON arguments, awaits what it
  // returns, and brings back the page's new errors with the result.
  async run(source, args) {
    const script = `var done = arguments[arguments.length - 1];
      var args = Array.prototype.slice.call(arguments, 0, -1);
      ${errorCollector}
      Promise.resolve().then(function () { return (${source}).apply(null, args); }).then(
        function (value) { done({ value: value === undefined ? null : value, errors: __pageErrors.splice(0) }); },
        function (error) { done({ error: String(error && error.stack || error), errors: __pageErrors.splice(0) }); });`;
    const result = await this.driver.executeAsyncScript(script, ...args);
    this.errors.push(...result.errors);
    if ('error' in result) throw new Error(`in the page: ${result.error}`);
    return result.value;
  }

  evaluate(fn, ...args) {
    if (typeof fn === 'string') return this.driver.executeScript(fn);
    return this.run(fn.toString(), args);
  }

  $eval(selector, fn, ...args) {
    return this.run(`function (selector) {
      var element = document.querySelector(selector);
      if (!element) throw new Error('no element matches ' + selector);
      return (${fn}).apply(null, [element].concat(Array.prototype.slice.call(arguments, 1)));
    }`, [selector, ...args]);
  }

  async $(selector) {
    const exists = await this.run('function (s) { return Boolean(document.querySelector(s)); }', [selector]);
    if (!exists) return null;
    return {
      boundingBox: () => this.$eval(selector, (e) => {
        const b = e.getBoundingClientRect();
        return { x: b.x, y: b.y, width: b.width, height: b.height };
      }),
      // A file input is given a file by typing its path into it.
      uploadFile: async (file) => (await this.driver.findElement(By.css(selector))).sendKeys(file),
    };
  }

  async waitForFunction(fn, options = {}, ...args) {
    const timeout = options.timeout ?? 30000;
    const polling = typeof options.polling === 'number' ? options.polling : 50;
    const deadline = performance.now() + timeout;
    for (;;) {
      const value = await this.run(fn.toString(), args);
      if (value) return { jsonValue: async () => value };
      if (performance.now() > deadline) throw new Error(`waiting for ${String(fn).slice(0, 80)} timed out after ${timeout} ms`);
      await sleep(polling);
    }
  }

  // Scrolled into view first, as puppeteer does.
  async click(selector) {
    await this.$eval(selector, (e) => e.scrollIntoView({ block: 'center', inline: 'center' }));
    const element = await this.driver.findElement(By.css(selector));
    await this.driver.actions().move({ origin: element }).press().release().perform();
  }

  focus(selector) { return this.$eval(selector, (e) => e.focus()); }

  // The window sized so that its page is exactly the viewport; a screen
  // narrower than the window can be is an iframe of its size.
  // A page already in its frame stays there and the frame is resized, a
  // live resize as a rotation is; a page on its own made narrower than the
  // window can be is loaded again in a frame.
  async setViewport(viewport) {
    this.viewport = viewport;
    if (this.framed) return this.sizeFrame();
    if (this.url && viewport.width < narrowest) return this.goto(this.url);
    return this.sizeWindow(viewport.width, viewport.height);
  }

  async sizeWindow(width, height) {
    const window = this.driver.manage().window();
    for (let i = 0; i < 3; i++) {
      const inner = await this.driver.executeScript('return [innerWidth, innerHeight]');
      if (inner[0] === width && inner[1] === height) return;
      const rect = await window.getRect();
      await window.setRect({ width: rect.width + width - inner[0], height: rect.height + height - inner[1] });
      await sleep(100);
    }
  }

  async sizeFrame() {
    await this.driver.switchTo().defaultContent();
    await this.sizeWindow(Math.max(narrowest, this.viewport.width) + 20, this.viewport.height + 20);
    await this.driver.executeScript(`var f = document.querySelector('iframe');
      f.style.width = arguments[0] + 'px'; f.style.height = arguments[1] + 'px';`, this.viewport.width, this.viewport.height);
    await this.driver.switchTo().frame(0);
  }

  async goto(url) {
    this.url = url;
    this.framed = this.viewport.width < narrowest;
    await this.driver.switchTo().defaultContent();
    if (!this.framed) {
      await this.driver.get(url);
      await this.sizeWindow(this.viewport.width, this.viewport.height);
    } else {
      // A frame on a blank page of the same origin, so that the page's
      // focus and storage are as when it is loaded on its own.
      await this.driver.get(new URL('/frame.html', url).href);
      await this.sizeWindow(Math.max(narrowest, this.viewport.width) + 20, this.viewport.height + 20);
      await this.driver.executeScript(`var f = document.createElement('iframe');
        f.style.cssText = 'border: 0; display: block; width: ' + arguments[1] + 'px; height: ' + arguments[2] + 'px';
        document.body.style.margin = '0';
        document.body.appendChild(f);
        f.src = arguments[0];`, url, this.viewport.width, this.viewport.height);
      await this.driver.wait(async () => this.driver.executeScript(
        "var f = document.querySelector('iframe'); return f.contentDocument && f.contentDocument.readyState === 'complete' && f.contentWindow.location.href !== 'about:blank'"), 30000);
      await this.driver.executeScript("document.querySelector('iframe').focus()");
      await this.driver.switchTo().frame(0);
    }
    await this.run('function () {}', []);
  }

  async reload() {
    if (this.framed) return this.goto(this.url);
    await this.driver.navigate().refresh();
    return this.run('function () {}', []);
  }

  // The window stays for the next page.
  async close() {
    await this.driver.switchTo().defaultContent();
    await this.driver.get('about:blank');
  }
}

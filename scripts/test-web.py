#!/usr/bin/python3
"""Plays the web build (make web) in headless Chromium, driven through the DevTools protocol.

Serves the build folder on 127.0.0.1, opens zindrel.html in a 1024 x 768 viewport, waits for
the title by its pixels, sends trusted key events (Space, Left, Right, Space) and checks that
play started: the score and level drawn, the title gone, the frame count rising, the ship moved
and the audio context running; then that Escape stops the game with "Thanks for playing". Any
page exception, console error or abort fails the run.
Prints the download size, the browser's graphics start-up and the time from navigation to the
first frame as measurements.

Usage: test-web.py BUILD_FOLDER   (Debian's python3 with python3-websocket)
"""
import base64
import functools
import http.server
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import zlib

import websocket

PAGE_FILES = ("zindrel.html", "zindrel.js", "zindrel.wasm", "zindrel.data")
# Rectangles (width, height, left, top) of the 1024 x 768 picture, as the desktop test uses.
PRESS_FIRE = (620, 42, 202, 457)
SCORE = (369, 35, 624, 714)
LEVEL = (250, 36, 389, 0)
SHIP_BAND = (1024, 70, 0, 635)
# Records every audio context the page makes, and when the first game frame was done.
PAGE_PROBE = """
(() => {
  const contexts = window.__zindrelAudioContexts = [];
  const Original = window.AudioContext;
  window.AudioContext = window.webkitAudioContext = class extends Original {
    constructor(...options) { super(...options); contexts.push(this); }
  };
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    callback(time);
    if (window.__zindrelFirstFrame === undefined && window.Module &&
        Module._WebLoop_GetFrameCount && Module._WebLoop_GetFrameCount() > 0) {
      window.__zindrelFirstFrame = performance.now();
    }
  });
})();
"""
GRAPHICS_START = ("(() => { const start = performance.now(); "
                  "document.createElement('canvas').getContext('webgl2'); "
                  "return performance.now() - start; })()")
MESSAGE = "(m => m && !m.hidden ? m.textContent : '')(document.getElementById('message'))"
TEN_REFRESHES = ("new Promise(done => { let n = 0; const next = () => ++n < 10 ? "
                 "requestAnimationFrame(next) : done(n); requestAnimationFrame(next); })")
KEYS = {"Escape": ("Escape", 27), "Space": (" ", 32), "ArrowLeft": ("ArrowLeft", 37), "ArrowRight": ("ArrowRight", 39)}


class Failure(Exception):
    pass


def decode_png(data):
    """Width, height, channels and the rows of an 8-bit, non-interlaced RGB or RGBA PNG."""
    position, chunks = 8, []
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunks.append((kind, data[position + 8:position + 8 + length]))
        position += 12 + length
    width, height, depth, colour = struct.unpack(">IIBB", chunks[0][1][:10])
    if depth != 8 or colour not in (2, 6):
        raise Failure(f"unexpected screenshot format {depth}/{colour}")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride, rows, previous = width * channels, [], bytearray(width * channels)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(row)
        previous = row
    return width, height, channels, rows


class Browser:
    def __init__(self, url):
        self.socket = websocket.create_connection(url, timeout=300)
        self.last_id = 0
        self.problems = []

    def _note(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            text = details.get("exception", {}).get("description") or details.get("text")
            self.problems.append(f"page exception: {text}")
        elif method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            if params["type"] in ("error", "assert") or "Aborted(" in text:
                self.problems.append(f"console {params['type']}: {text}")
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            self.problems.append(f"browser error: {params['entry']['text']}")

    def call(self, method, **params):
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.last_id:
                if "error" in message:
                    raise Failure(f"{method}: {message['error']}")
                return message.get("result", {})
            self._note(message)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        return result.get("result", {}).get("value")

    def frames(self):
        return self.evaluate("window.Module && Module._WebLoop_GetFrameCount ? "
                             "Module._WebLoop_GetFrameCount() : 0") or 0

    def shot(self, rectangle):
        width, height, left, top = rectangle
        clip = {"x": left, "y": top, "width": width, "height": height, "scale": 1}
        data = self.call("Page.captureScreenshot", format="png", clip=clip)["data"]
        return decode_png(base64.b64decode(data))

    def white_in(self, rectangle):
        _, _, channels, rows = self.shot(rectangle)
        return sum(1 for row in rows for i in range(0, len(row), channels)
                   if row[i] > 240 and row[i + 1] > 240 and row[i + 2] > 240)

    def ship_column(self):
        """Median column of the bright pixels in the ship's band, or None."""
        width, _, channels, rows = self.shot(SHIP_BAND)
        columns = sorted(i // channels for row in rows for i in range(0, len(row), channels)
                         if row[i] + row[i + 1] + row[i + 2] > 450)
        return columns[len(columns) // 2] if len(columns) > 30 else None

    def key(self, name, kind):
        key, code = KEYS[name]
        self.call("Input.dispatchKeyEvent", type=kind, key=key, code=name,
                  windowsVirtualKeyCode=code, nativeVirtualKeyCode=code,
                  **({"text": key} if kind == "keyDown" and key == " " else {}))

    def wait_frames(self, count, seconds=120):
        target = self.frames() + count
        deadline = time.monotonic() + seconds
        while self.frames() < target:
            if self.problems:
                raise Failure(f"the page stopped with {len(self.problems)} problem(s) noted")
            if time.monotonic() > deadline:
                raise Failure(f"fewer than {count} frames in {seconds} s")
            time.sleep(0.02)

    def press(self, name, frames=3):
        self.key(name, "keyDown")
        self.wait_frames(frames)
        self.key(name, "keyUp")
        self.wait_frames(2)


def serve(folder):
    served = {}

    class Handler(http.server.SimpleHTTPRequestHandler):
        extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                          ".wasm": "application/wasm", ".js": "text/javascript"}

        def log_message(self, *_):
            pass

        def do_GET(self):
            path = self.translate_path(self.path)
            if os.path.isfile(path):
                served[os.path.basename(path)] = os.path.getsize(path)
            super().do_GET()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Handler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, served


def start_chromium(profile):
    chromium = shutil.which("chromium") or "/usr/bin/chromium"
    process = subprocess.Popen(
        [chromium, "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--no-sandbox", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--no-first-run", "--no-default-browser-check",
         f"--user-data-dir={profile}", "--remote-debugging-port=0", "--window-size=1024,768",
         "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    port_file = os.path.join(profile, "DevToolsActivePort")
    deadline = time.monotonic() + 60
    while not (os.path.exists(port_file) and open(port_file).read().count("\n") >= 1):
        if process.poll() is not None or time.monotonic() > deadline:
            raise Failure("Chromium did not open its DevTools port")
        time.sleep(0.05)
    port = int(open(port_file).read().split()[0])
    with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as answer:
        pages = [t for t in json.load(answer) if t["type"] == "page"]
    return process, pages[0]["webSocketDebuggerUrl"]


def play(browser, url, results):
    def check(name, passed, detail=""):
        results.append((name, passed))
        print(f"{'ok' if passed else 'FAILED'}: {name}{' (' + detail + ')' if detail else ''}")

    for domain in ("Page", "Runtime", "Log"):
        browser.call(f"{domain}.enable")
    browser.call("Emulation.setDeviceMetricsOverride", width=1024, height=768,
                 deviceScaleFactor=1, mobile=False)
    # Headless Chromium starts SwiftShader, its software GPU, about a second after launch or when
    # a page first asks for WebGL, whichever comes first. That start-up is the browser's, once
    # per run (a browser drawing on a real GPU has none), so it is paid on the blank page before
    # the game's page is opened, and measured on its own.
    graphics = browser.evaluate(GRAPHICS_START)
    print(f"measured: browser graphics started in {graphics:.0f} ms")
    browser.call("Page.addScriptToEvaluateOnNewDocument", source=PAGE_PROBE)
    browser.call("Page.navigate", url=url)

    # The splash lasts about four and a half seconds; software rendering on a busy machine can
    # take many times that.
    deadline = time.monotonic() + 300
    title = 0
    while title <= 500 and time.monotonic() < deadline:
        time.sleep(0.2)
        if browser.evaluate("document.readyState") == "complete":
            title = browser.white_in(PRESS_FIRE)
    check('the title shows "Press Fire!"', title > 500,
          f"{title} white pixels after {browser.frames()} frames")
    if title <= 500:
        return
    first_frame = browser.evaluate("window.__zindrelFirstFrame")
    print(f"measured: first frame {first_frame:.0f} ms after navigation")

    browser.press("Space")
    browser.wait_frames(20)
    start = browser.ship_column()
    browser.press("ArrowLeft", frames=25)
    after_left = browser.ship_column()
    moved = start is not None and after_left is not None and after_left < start - 20
    check("Left moved the ship", moved, f"column {start} -> {after_left}")
    # Before the shot: the player's bullet flies up through the title's rectangle.
    check("the title is gone", browser.white_in(PRESS_FIRE) < 50)
    browser.press("ArrowRight", frames=10)
    browser.press("Space")
    browser.wait_frames(10)
    check("the score is drawn", browser.white_in(SCORE) > 200)
    check("the level is drawn", browser.white_in(LEVEL) > 100)
    before = browser.frames()
    browser.wait_frames(10)
    check("the frame count rises", browser.frames() >= before + 10)
    states = browser.evaluate("window.__zindrelAudioContexts.map(c => c.state)")
    check("the audio context runs", bool(states) and all(s == "running" for s in states),
          f"states {states}")
    check("the canvas has the keyboard focus",
          browser.evaluate("document.activeElement && document.activeElement.id") == "canvas")

    browser.key("Escape", "keyDown")
    browser.key("Escape", "keyUp")
    deadline = time.monotonic() + 120
    while browser.evaluate(MESSAGE) != "Thanks for playing" and time.monotonic() < deadline:
        time.sleep(0.05)
    stopped = browser.frames()
    browser.evaluate(TEN_REFRESHES)
    check('Escape stops the game with "Thanks for playing"',
          browser.evaluate(MESSAGE) == "Thanks for playing" and browser.frames() == stopped)


def main():
    folder = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-web")
    missing = [name for name in PAGE_FILES if not os.path.isfile(os.path.join(folder, name))]
    if missing:
        print(f"FAILED: {', '.join(missing)} missing in {folder} (run make web)")
        return 1
    server, served = serve(folder)
    profile = tempfile.mkdtemp(prefix="zindrel-chromium-")
    process = None
    browser = None
    results = []
    try:
        process, socket_url = start_chromium(profile)
        browser = Browser(socket_url)
        play(browser, f"http://127.0.0.1:{server.server_address[1]}/zindrel.html", results)
        browser.evaluate(TEN_REFRESHES)
        results.append(("no exception, console error or abort", not browser.problems))
        size = sum(served.get(name, 0) for name in PAGE_FILES)
        print(f"measured: download {size} bytes ({', '.join(f'{n} {s}' for n, s in sorted(served.items()))})")
    except (Failure, OSError, websocket.WebSocketException) as error:
        print(f"FAILED: {error}")
        results.append(("the browser session", False))
    finally:
        for problem in browser.problems if browser is not None else []:
            print(f"FAILED: {problem}")
        if process is not None:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)
    passed = sum(1 for _, ok in results if ok)
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())

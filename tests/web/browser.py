#!/usr/bin/python3
"""Headless Chromium for the browser edition's tests, through the DevTools
protocol: serve a folder on 127.0.0.1, open a page, wait for its title, read
its console, evaluate JavaScript and take a canvas's pixels as PNG bytes.

As a library:
    with serve_folder("build/web") as base, Browser() as browser:
        page = browser.open(base + "page.html?scene=2")
        page.wait_title(r"^done", timeout=30)
        png = page.canvas_png("#canvas")
        print(page.console)

As a command:
    browser.py screenshot URL OUT.png [--title REGEX] [--serve DIR] [--canvas SELECTOR]
    browser.py eval URL EXPRESSION [--title REGEX] [--serve DIR]

Needs only python3-websockets (Debian's), which the system interpreter has.
"""

import argparse
import asyncio
import base64
import contextlib
import functools
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

import websockets

CHROMIUM_FLAGS = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--disable-extensions",
    "--mute-audio",
    "--remote-debugging-port=0",
]


class BrowserError(RuntimeError):
    pass


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    isolate = False

    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map, **{".wasm": "application/wasm",
                                                                                  ".js": "text/javascript"})

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        if self.isolate:
            self.send_header("Cross-Origin-Opener-Policy", "same-origin")
            self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve_folder(folder, isolate=False):
    """Serves `folder` on a free port of 127.0.0.1; yields the base URL
    (ending in '/'). With `isolate`, pages are cross-origin isolated
    (COOP/COEP), as SharedArrayBuffer needs."""
    handler = functools.partial(type("Handler", (_QuietHandler,), {"isolate": isolate}), directory=str(folder))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    raise BrowserError("no chromium on PATH")


class Page:
    """One tab, driven through its DevTools session."""

    def __init__(self, browser, session, target):
        self._browser = browser
        self._session = session
        self._target = target
        self.console = []  # lines: "level: text"

    def _send(self, method, params=None, timeout=30):
        return self._browser._call(method, params or {}, self._session, timeout)

    def _event(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            parts = []
            for arg in params.get("args", []):
                parts.append(str(arg.get("value", arg.get("description", ""))))
            self.console.append("%s: %s" % (params.get("type"), " ".join(parts)))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            exception = details.get("exception", {})
            text = exception.get("description") or exception.get("value") or details.get("text", "")
            frames = details.get("stackTrace", {}).get("callFrames", [])
            where = " at %s" % ", ".join(f.get("functionName") or "?" for f in frames[:6]) if frames else ""
            self.console.append("exception: %s%s" % (text, where))
        elif method == "Log.entryAdded":
            entry = params.get("entry", {})
            self.console.append("%s: %s" % (entry.get("level"), entry.get("text")))

    def navigate(self, url):
        self._send("Page.navigate", {"url": url})

    def evaluate(self, expression, timeout=30):
        """The value of a JavaScript expression (promises awaited)."""
        result = self._send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                 "awaitPromise": True}, timeout)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise BrowserError("JavaScript failed: %s" % (details.get("exception", {}).get("description")
                                                          or details.get("text")))
        return result.get("result", {}).get("value")

    def title(self):
        return self.evaluate("document.title")

    def wait_title(self, pattern, timeout=30):
        """Waits until document.title matches the regular expression; returns
        the title. Raises BrowserError on timeout."""
        deadline = time.monotonic() + timeout
        regex = re.compile(pattern)
        title = None
        while time.monotonic() < deadline:
            try:
                title = self.title()
            except BrowserError:
                title = None
            if title is not None and regex.search(title):
                return title
            self._browser._pump(0.1)
        raise BrowserError("title %r never matched %r in %ss" % (title, pattern, timeout))

    def canvas_png(self, selector="canvas"):
        """The canvas's pixels as PNG bytes, losslessly (toDataURL; the
        context needs preserveDrawingBuffer unless read in the same task)."""
        url = self.evaluate("document.querySelector(%s).toDataURL('image/png')" % json.dumps(selector))
        if not url or not url.startswith("data:image/png;base64,"):
            raise BrowserError("no canvas %s" % selector)
        return base64.b64decode(url.split(",", 1)[1])

    def close(self):
        """Closes the tab."""
        self._browser._call("Target.closeTarget", {"targetId": self._target})
        self._browser._pages.pop(self._session, None)

    def screenshot_png(self):
        """The whole page as the browser shows it."""
        return base64.b64decode(self._send("Page.captureScreenshot", {"format": "png"})["data"])


class Browser:
    """A headless Chromium with a fresh profile, closed (and its profile
    removed) on close() or leaving a with-block, whatever happened."""

    def __init__(self, extra_flags=(), window_size=(800, 600), start_timeout=30):
        self._profile = tempfile.mkdtemp(prefix="marrowick-chromium-")
        self._loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self._loop)  # websockets 10 looks the loop up itself
        self._next_id = 0
        self._waiting = {}
        self._pages = {}
        self._socket = None
        self._process = None
        try:
            # Chromium's sandbox refuses root; CI and these machines run as root.
            sandbox = ["--no-sandbox"] if os.geteuid() == 0 else []
            flags = CHROMIUM_FLAGS + sandbox + ["--user-data-dir=" + self._profile,
                                      "--window-size=%d,%d" % window_size] + list(extra_flags)
            self._process = subprocess.Popen([find_chromium()] + flags + ["about:blank"], stdout=subprocess.DEVNULL,
                                             stderr=subprocess.PIPE, start_new_session=True)
            endpoint = self._devtools_endpoint(start_timeout)
            self._socket = self._loop.run_until_complete(
                websockets.connect(endpoint, max_size=None, ping_interval=None))
        except BaseException:
            self.close()
            raise

    def _devtools_endpoint(self, timeout):
        # Chromium writes the port it chose into the profile.
        port_file = os.path.join(self._profile, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self._process.poll() is not None:
                raise BrowserError("chromium exited: %s" % self._process.stderr.read().decode(errors="replace")[-2000:])
            try:
                with open(port_file) as f:
                    lines = f.read().split()
                if len(lines) >= 2:
                    return "ws://127.0.0.1:%s%s" % (lines[0], lines[1])
            except FileNotFoundError:
                pass
            time.sleep(0.05)
        raise BrowserError("chromium gave no DevTools port in %ss" % timeout)

    async def _receive_until(self, future, timeout):
        deadline = self._loop.time() + timeout
        while future is None or not future.done():
            remaining = deadline - self._loop.time()
            if remaining <= 0:
                if future is None:
                    return
                raise BrowserError("no answer from chromium in %ss" % timeout)
            try:
                raw = await asyncio.wait_for(self._socket.recv(), remaining)
            except asyncio.TimeoutError:
                if future is None:
                    return
                raise BrowserError("no answer from chromium in %ss" % timeout)
            except websockets.ConnectionClosed:
                raise BrowserError("chromium closed the DevTools connection")
            message = json.loads(raw)
            if "id" in message and message["id"] in self._waiting:
                waiter = self._waiting.pop(message["id"])
                if not waiter.done():
                    waiter.set_result(message)
            elif "method" in message:
                page = self._pages.get(message.get("sessionId"))
                if page is not None:
                    page._event(message)

    def _call(self, method, params, session=None, timeout=30):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        future = self._loop.create_future()
        self._waiting[self._next_id] = future

        async def run():
            await self._socket.send(json.dumps(message))
            await self._receive_until(future, timeout)
            return future.result()

        answer = self._loop.run_until_complete(run())
        if "error" in answer:
            raise BrowserError("%s: %s" % (method, answer["error"].get("message")))
        return answer.get("result", {})

    def _pump(self, seconds):
        """Takes in events for a while (console lines)."""
        self._loop.run_until_complete(self._receive_until(None, seconds))

    def open(self, url):
        """A new tab showing `url`, its console recorded from the start."""
        target = self._call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self._call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        page = Page(self, session, target)
        self._pages[session] = page
        for domain in ("Runtime.enable", "Page.enable", "Log.enable"):
            page._send(domain)
        page.navigate(url)
        return page

    def close(self):
        try:
            if self._socket is not None:
                with contextlib.suppress(Exception):
                    self._call("Browser.close", {}, timeout=5)
                with contextlib.suppress(Exception):
                    self._loop.run_until_complete(self._socket.close())
        finally:
            self._socket = None
            if self._process is not None:
                if self._process.poll() is None:
                    with contextlib.suppress(ProcessLookupError):
                        os.killpg(self._process.pid, signal.SIGTERM)
                    try:
                        self._process.wait(5)
                    except subprocess.TimeoutExpired:
                        with contextlib.suppress(ProcessLookupError):
                            os.killpg(self._process.pid, signal.SIGKILL)
                        self._process.wait()
                else:
                    # The browser is gone; its helpers may not be.
                    with contextlib.suppress(ProcessLookupError):
                        os.killpg(self._process.pid, signal.SIGKILL)
                if self._process.stderr:
                    self._process.stderr.close()
                self._process = None
            if not self._loop.is_closed():
                self._loop.close()
            shutil.rmtree(self._profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


@contextlib.contextmanager
def _page_for(args):
    with contextlib.ExitStack() as stack:
        url = args.url
        if args.serve:
            base = stack.enter_context(serve_folder(args.serve, isolate=args.isolate))
            url = base + url.lstrip("/")
        browser = stack.enter_context(Browser())
        page = browser.open(url)
        try:
            if args.title:
                page.wait_title(args.title, args.timeout)
            yield page
        finally:
            for line in page.console:
                print("console", line, file=sys.stderr)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    for name in ("screenshot", "eval"):
        p = sub.add_parser(name)
        p.add_argument("url", help="a URL, or with --serve a path under the served folder")
        p.add_argument("--title", help="wait until document.title matches this regular expression")
        p.add_argument("--timeout", type=float, default=30)
        p.add_argument("--serve", help="serve this folder on 127.0.0.1 and open URL under it")
        p.add_argument("--isolate", action="store_true", help="serve with COOP/COEP headers")
        if name == "screenshot":
            p.add_argument("output")
            p.add_argument("--canvas", help="CSS selector of the canvas to take (default: the whole page)")
        else:
            p.add_argument("expression")
    args = parser.parse_args(argv)
    try:
        with _page_for(args) as page:
            if args.command == "screenshot":
                data = page.canvas_png(args.canvas) if args.canvas else page.screenshot_png()
                with open(args.output, "wb") as f:
                    f.write(data)
                print(page.title())
            else:
                print(json.dumps(page.evaluate(args.expression)))
    except BrowserError as e:
        print("browser.py: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""Driving the real game in a private X server: the server, the game process,
real key and mouse events (xdotool), screenshots of the root window (xwd)
read back in the game's own 640x480 coordinates, and the game's bitmap
pictures for comparison.

Every wait here is bounded and polls a condition; nothing relies on a fixed
sleep alone.
"""

import mmap
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

GAME_W, GAME_H = 640, 480
SKIP = 77  # CTest's SKIP_RETURN_CODE for these scripts


class Failure(Exception):
    """A check that did not hold."""


def tools_missing():
    """Names of the X tools this harness needs that are not installed."""
    return [t for t in ("Xvfb", "xdotool", "xwd", "xprop", "openbox") if shutil.which(t) is None]


def skip_for_missing_tools():
    """None when the X tools are all there. Otherwise the exit status for a
    test that cannot run: skipped on a developer's machine, but failed under
    CI, where scripts/setup-deps.sh installs them and a skip would hide a
    suite that never opened a window."""
    missing = tools_missing()
    if not missing:
        return None
    if os.environ.get("CI") == "true":
        print("FAIL     %s not installed, and CI must run this test (scripts/setup-deps.sh installs them)"
              % ", ".join(missing))
        return 1
    print("skipped: %s not installed (scripts/setup-deps.sh installs them)" % ", ".join(missing))
    return SKIP


def deadline(seconds):
    return time.monotonic() + seconds


def wait_for(what, predicate, timeout, interval=0.02):
    """Polls predicate until it returns a true value, at most timeout
    seconds; returns that value or raises Failure naming what."""
    end = deadline(timeout)
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


# --------------------------------------------------------------------------
# The X server


class XServer:
    """An Xvfb server on a display number it picks itself (-displayfd)."""

    def __init__(self, width, height, log_path, extra_args=()):
        self.width, self.height = width, height
        read_end, write_end = os.pipe()
        self.log = open(log_path, "wb")
        # -fbdir keeps the screen in a memory-mapped file: a screenshot is a
        # read of that file, far cheaper than a round trip through xwd.
        self.fbdir = tempfile.mkdtemp(prefix="stakko-xvfb-")
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset", "-fbdir", self.fbdir,
             *extra_args],
            pass_fds=(write_end,), stdout=self.log, stderr=subprocess.STDOUT,
            start_new_session=True)
        os.close(write_end)
        number = b""
        end = deadline(20)
        os.set_blocking(read_end, False)
        while not number.endswith(b"\n"):
            if self.proc.poll() is not None or time.monotonic() > end:
                os.close(read_end)
                self.stop()
                raise Failure("Xvfb did not start (see %s)" % log_path)
            try:
                chunk = os.read(read_end, 16)
                if not chunk:
                    time.sleep(0.02)
                number += chunk
            except BlockingIOError:
                time.sleep(0.02)
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.place_picture(width, height)

    def place_picture(self, width, height, scale="fill"):
        """Where the 640x480 picture lands in a width x height area at the
        screen's origin: with "fill" (the game's default) the largest 4:3
        area, with "integer" the largest whole factor; centred either way.
        Screen pixel d of the area shows game pixel floor(d * 640 / area
        width), so game pixel g is read at column ceil(g * area width / 640)."""
        if scale == "fill":
            if width * GAME_H <= height * GAME_W:
                area_w, area_h = width, width * GAME_H // GAME_W
            else:
                area_w, area_h = height * GAME_W // GAME_H, height
        else:
            f = max(1, min(width // GAME_W, height // GAME_H))
            area_w, area_h = GAME_W * f, GAME_H * f
        self.area_w, self.area_h = area_w, area_h
        self.factor = area_h / GAME_H
        self.left = (width - area_w) // 2
        self.top = (height - area_h) // 2
        # (An area smaller than the picture leaves some game pixels out: they
        # are read from the last screen pixel, never past the area.)
        self.columns = [self.left + min(area_w - 1, -(-g * area_w // GAME_W)) for g in range(GAME_W)]
        self.rows = [self.top + min(area_h - 1, -(-g * area_h // GAME_H)) for g in range(GAME_H)]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
        self.log.close()
        shutil.rmtree(self.fbdir, ignore_errors=True)

    def run(self, args, timeout=10, check=True):
        """Runs an X client (xdotool, xwd...) against this server."""
        try:
            result = subprocess.run(args, env=self.env, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not finish within %d s" % (args[0], timeout))
        if check and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace").strip()))
        return result.stdout

    # Input ---------------------------------------------------------------

    def key_down(self, key):
        self.run(["xdotool", "keydown", key])

    def key_up(self, key):
        self.run(["xdotool", "keyup", key])

    def tap(self, key, hold=0.06):
        """Presses a key and lets it go after a real hold."""
        self.key_down(key)
        time.sleep(hold)
        self.key_up(key)

    def move_mouse_to(self, sx, sy):
        """An absolute pointer move, as a tablet or a remote desktop makes."""
        self.run(["xdotool", "mousemove", str(int(sx)), str(int(sy))])

    def screen_point(self, gx, gy):
        """The screen pixel that shows game pixel (gx, gy)."""
        return self.columns[gx], self.rows[gy]

    def move_mouse_by(self, dx, dy):
        self.run(["xdotool", "mousemove_relative", "--", str(int(dx)), str(int(dy))])

    def mouse_down(self):
        self.run(["xdotool", "mousedown", "1"])

    def mouse_up(self):
        self.run(["xdotool", "mouseup", "1"])

    # Screenshots ----------------------------------------------------------

    def capture(self):
        """The root window now, as a Frame in the game's coordinates. Read
        from the server's screen file when there is one (a frame being
        drawn meanwhile may show torn: checks poll until they match), else
        with xwd."""
        path = os.path.join(self.fbdir, "Xvfb_screen0")
        if os.path.exists(path):
            with open(path, "rb") as f:
                with mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ) as data:
                    return Frame.from_xwd(data, self)
        return Frame.from_xwd(self.run(["xwd", "-root", "-silent"], timeout=20), self)

    def capture_xwd(self):
        """A screenshot through the X protocol (xwd), as a player's tools
        would take it."""
        return Frame.from_xwd(self.run(["xwd", "-root", "-silent"], timeout=20), self)


class Frame:
    """One screenshot. The game's 640x480 pixels are kept as three planes
    (r, g, b), one byte per pixel, row-major; `raw` keeps the screen."""

    def __init__(self, r, g, b, raw, server):
        self.r, self.g, self.b = r, g, b
        self.raw = raw
        self.server = server

    @staticmethod
    def from_xwd(data, server):
        (header_size, _version, pix_format, _depth, width, height, _xoff, byte_order,
         _unit, _bit_order, _pad, bpp, bpl, _vclass, red_mask, _green_mask, blue_mask,
         _bits_rgb, _cmap_entries, ncolors) = struct.unpack(">20I", data[:80])
        if pix_format != 2 or bpp != 32:
            raise Failure("unexpected screenshot layout (format %d, %d bits)" % (pix_format, bpp))
        pixels = bytes(data[header_size + 12 * ncolors:header_size + 12 * ncolors + height * bpl])
        # 32-bit pixels with red in bits 16-23: in memory B, G, R, X when the
        # image is least-significant-byte first, else X, R, G, B.
        if red_mask != 0xFF0000 or blue_mask != 0xFF:
            raise Failure("unexpected screenshot colour masks")
        ri, gi, bi = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
        columns = server.columns
        whole = server.area_w % GAME_W == 0 and server.area_h == server.area_w * GAME_H // GAME_W
        rows_r, rows_g, rows_b = [], [], []
        if whole:
            step = 4 * (server.area_w // GAME_W)
            for sy in server.rows:
                start = sy * bpl + server.left * 4
                end = start + GAME_W * step
                rows_r.append(pixels[start + ri:end:step])
                rows_g.append(pixels[start + gi:end:step])
                rows_b.append(pixels[start + bi:end:step])
        else:
            offsets = [4 * c for c in columns]
            for sy in server.rows:
                line = pixels[sy * bpl:(sy + 1) * bpl]
                rows_r.append(bytes(line[o + ri] for o in offsets))
                rows_g.append(bytes(line[o + gi] for o in offsets))
                rows_b.append(bytes(line[o + bi] for o in offsets))
        frame = Frame(b"".join(rows_r), b"".join(rows_g), b"".join(rows_b), (pixels, width, height, bpl, ri, gi, bi), server)
        return frame

    def pixel(self, x, y):
        i = y * GAME_W + x
        return (self.r[i], self.g[i], self.b[i])

    def screen_pixel(self, sx, sy):
        pixels, _w, _h, bpl, ri, gi, bi = self.raw
        o = sy * bpl + sx * 4
        return (pixels[o + ri], pixels[o + gi], pixels[o + bi])

    def column(self, plane, x):
        return plane[x::GAME_W]

    def count_not(self, colour, x0, y0, x1, y1):
        """Pixels in [x0,x1) x [y0,y1) that differ from colour."""
        n = 0
        for y in range(max(0, y0), min(GAME_H, y1)):
            for x in range(max(0, x0), min(GAME_W, x1)):
                if self.pixel(x, y) != colour:
                    n += 1
        return n

    def is_uniform(self, colour, step=16):
        return all(self.pixel(x, y) == colour for y in range(0, GAME_H, step) for x in range(0, GAME_W, step))

    def letterbox_and_scale_ok(self):
        """The picture fills its area with nearest-neighbour pixels (each
        game pixel a solid block of the screen columns and rows that stand
        for it) and everything around it is black. Returns a reason when
        not."""
        pixels, width, height, bpl, _ri, _gi, _bi = self.raw
        s = self.server
        left, top = s.left, s.top
        right, bottom = left + s.area_w, top + s.area_h
        for sy in range(0, height, 7):
            for sx in range(0, width, 7):
                inside = left <= sx < right and top <= sy < bottom
                if not inside and self.screen_pixel(sx, sy) != (0, 0, 0):
                    return "letterbox pixel (%d,%d) is %s, not black" % (sx, sy, self.screen_pixel(sx, sy))
        # Every screen pixel of the area equals the game pixel it stands for.
        for sy in range(top, bottom, 3):
            gy = (sy - top) * GAME_H // s.area_h
            for sx in range(left, right, 5):
                gx = (sx - left) * GAME_W // s.area_w
                if self.screen_pixel(sx, sy) != self.pixel(gx, gy):
                    return "screen pixel (%d,%d) is %s, not game pixel (%d,%d) %s" % (
                        sx, sy, self.screen_pixel(sx, sy), gx, gy, self.pixel(gx, gy))
        return None

    def save_png(self, path):
        rows = []
        for y in range(GAME_H):
            line = bytearray(1 + GAME_W * 3)
            o = y * GAME_W
            line[1::3] = self.r[o:o + GAME_W]
            line[2::3] = self.g[o:o + GAME_W]
            line[3::3] = self.b[o:o + GAME_W]
            rows.append(bytes(line))
        raw = b"".join(rows)

        def chunk(tag, body):
            return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))

        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", GAME_W, GAME_H, 8, 2, 0, 0, 0)) +
               chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
        with open(path, "wb") as out:
            out.write(png)


# --------------------------------------------------------------------------
# The game's own pictures


class Picture:
    """A decoded bitmap: width, height and rows of (r, g, b) tuples."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows

    def at(self, x, y):
        return self.rows[y][x]

    def cut(self, x, y, w, h):
        return Picture(w, h, [row[x:x + w] for row in self.rows[y:y + h]])


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise Failure("%s is not a bitmap" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    header = struct.unpack_from("<I", data, 14)[0]
    width, height, _planes, bpp, compression = struct.unpack_from("<iiHHI", data, 18)
    if compression not in (0, 3) or bpp not in (8, 24, 32):
        raise Failure("%s: unsupported layout (%d bits, compression %d)" % (path, bpp, compression))
    palette = []
    if bpp == 8:
        colours = struct.unpack_from("<I", data, 46)[0] or 256
        base = 14 + header
        palette = [(data[base + 4 * i + 2], data[base + 4 * i + 1], data[base + 4 * i]) for i in range(colours)]
    bottom_up = height > 0
    height = abs(height)
    stride = ((width * bpp + 31) // 32) * 4
    rows = []
    for y in range(height):
        src = offset + (height - 1 - y if bottom_up else y) * stride
        if bpp == 8:
            rows.append([palette[data[src + x]] for x in range(width)])
        else:
            n = bpp // 8
            rows.append([(data[src + n * x + 2], data[src + n * x + 1], data[src + n * x]) for x in range(width)])
    return Picture(width, height, rows)


def read_png(path):
    """The pixels of an 8-bit RGB or RGBA PNG (as our own writer makes them,
    with any of the five row filters), as rows of (r, g, b) tuples."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, width, height, channels = 8, b"", 0, 0, 3
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
            channels = 4 if body[9] == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prior = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prior[i]
            c = prior[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        prior = line
    return rows


def find_asset(run_dir, folder, name):
    """The game names its files with Windows spelling; match the name
    without regard to case."""
    base = os.path.join(run_dir, folder)
    if os.path.isdir(base):
        for entry in os.listdir(base):
            if entry.lower() == name.lower():
                return os.path.join(base, entry)
    return None


def load_picture(run_dir, name):
    path = find_asset(run_dir, "graphics", name)
    if path is None:
        raise Failure("graphics/%s is missing from the run folder" % name)
    return read_bmp(path)


def opaque_samples(picture, count=60, key=(0, 0, 0)):
    """Up to count well-spread pixels of picture that are not the key colour."""
    points = [(x, y) for y in range(picture.height) for x in range(picture.width) if picture.at(x, y) != key]
    if not points:
        return []
    step = max(1, len(points) // count)
    return points[::step][:count]


def sprite_matches(frame, picture, samples, x, y, needed=0.9):
    """True when the keyed picture drawn at (x, y) agrees with frame on at
    least `needed` of the sampled pixels that fall on the screen."""
    seen = hits = 0
    for sx, sy in samples:
        fx, fy = x + sx, y + sy
        if 0 <= fx < GAME_W and 0 <= fy < GAME_H:
            seen += 1
            if frame.pixel(fx, fy) == picture.at(sx, sy):
                hits += 1
    return seen >= max(5, len(samples) // 4) and hits >= needed * seen


def locate_sprite(frame, picture, samples, xs, ys):
    """The first (x, y) from the candidates where the sprite is drawn."""
    for y in ys:
        for x in xs:
            if sprite_matches(frame, picture, samples, x, y):
                return (x, y)
    return None


# --------------------------------------------------------------------------
# The game process


class Game:
    """The real stakko executable, in its own folder, on the server."""

    def __init__(self, command, cwd, server, log_dir, extra_env=None):
        env = dict(server.env)
        env["SDL_AUDIODRIVER"] = "dummy"
        env.pop("SDL_VIDEODRIVER", None)
        # The tester's own settings file never steers a test's game.
        env["XDG_CONFIG_HOME"] = os.path.join(log_dir, "config")
        if extra_env:
            env.update(extra_env)
        self.out = open(os.path.join(log_dir, "stakko.stdout"), "wb")
        self.err_path = os.path.join(log_dir, "stakko.stderr")
        self.err = open(self.err_path, "wb")
        self.proc = subprocess.Popen(command, cwd=cwd, env=env, stdout=self.out, stderr=self.err)
        self.stopped = False

    @property
    def pid(self):
        return self.proc.pid

    def alive(self):
        return self.proc.poll() is None

    def require_alive(self):
        if not self.alive():
            raise Failure("the game ended unexpectedly with code %s: %s" % (self.proc.returncode, self.stderr_text()))

    def stderr_text(self):
        self.err.flush()
        with open(self.err_path, "rb") as f:
            return f.read().decode(errors="replace").strip()[-2000:]

    def pause(self):
        """Stops the process and waits until it has really stopped, so a
        screenshot shows one finished frame."""
        if not self.alive():
            return False
        os.kill(self.pid, signal.SIGSTOP)
        try:
            _pid, status = os.waitpid(self.pid, os.WUNTRACED)
        except ChildProcessError:
            return False
        if os.WIFSTOPPED(status):
            self.stopped = True
            return True
        # It ended while we stopped it; let Popen know.
        self.proc.returncode = os.waitstatus_to_exitcode(status)
        return False

    def resume(self):
        if self.stopped and self.alive():
            os.kill(self.pid, signal.SIGCONT)
        self.stopped = False

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %d s" % timeout)

    def kill(self):
        if self.alive():
            try:
                if self.stopped:
                    os.kill(self.pid, signal.SIGCONT)
                self.proc.kill()
                self.proc.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
        self.out.close()
        self.err.close()


def prepare_run_folder(source_run_dir, into):
    """A copy of the built run folder with an empty Data folder."""
    target = os.path.join(into, "run")
    shutil.copytree(source_run_dir, target, ignore=shutil.ignore_patterns("Data", "*.stamp"))
    os.makedirs(os.path.join(target, "Data"), exist_ok=True)
    return target


def read_high_scores(path):
    """The ten records of a high-score file: (name, score, date, level)."""
    with open(path, "rb") as f:
        data = f.read()
    rows, o = [], 0
    for _ in range(10):
        if o >= len(data):
            break
        n = data[o]
        name = data[o + 1:o + 1 + n].decode("latin-1")
        score = struct.unpack_from("<i", data, o + 1 + n)[0]
        date = data[o + 5 + n:o + 16 + n].decode("latin-1")
        level = struct.unpack_from("<i", data, o + 16 + n)[0]
        rows.append((name, score, date, level))
        o += 20 + n
    return rows


def temp_dir(prefix):
    return tempfile.mkdtemp(prefix=prefix)

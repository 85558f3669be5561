// The page around the game: loading bar, the start gate, options from the
// address, the high-score table kept in IndexedDB, fullscreen, touch buttons
// and the game's end. Loaded before stakko.js, which reads Module.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  // What tests and curious players can read: saves written through to the
  // browser's storage, and how the game ended.
  const page = (window.stakkoPage = { saves: 0, ended: null, started: false });

  // The game's options from the address, e.g. ?fps=700&scale=integer. The
  // page always plays in its canvas, drawn with WebGL, paced.
  function gameArguments() {
    const query = new URLSearchParams(location.search);
    const args = ['--window', '--present', query.get('present') || 'gpu', '--fps', query.get('fps') || '1000'];
    if (query.get('scale')) args.push('--scale', query.get('scale'));
    if (query.has('verbose')) args.push('--verbose');
    return args;
  }

  // The table is /Data in IndexedDB. A save writes a fresh file and renames
  // it over the table, so the rename is the moment to write it through: a
  // page can be closed at any time without a word.
  let syncing = false;
  let syncAgain = false;
  function persist() {
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, (error) => {
      syncing = false;
      if (error) console.warn('stakko: the high scores could not be stored', error);
      else page.saves++;
      if (syncAgain) {
        syncAgain = false;
        persist();
      }
    });
  }
  function mountScores() {
    FS.mkdir('/Data');
    FS.mount(IDBFS, {}, '/Data');
    addRunDependency('scores');
    FS.syncfs(true, (error) => {
      if (error) console.warn('stakko: the stored high scores could not be read', error);
      removeRunDependency('scores');
    });
    const rename = FS.rename;
    FS.rename = function (from, to) {
      const result = rename.apply(this, arguments);
      const full = String(to).startsWith('/') ? String(to) : FS.cwd().replace(/\/$/, '') + '/' + to;
      if (full.startsWith('/Data/')) persist();
      return result;
    };
  }

  // SDL's sound asks the page to resume a suspended audio context at the
  // player's next touch or key; this emscripten has no such helper itself.
  window.autoResumeAudioContext = function (context) {
    const resume = () => {
      if (context.state === 'suspended') context.resume();
    };
    for (const type of ['keydown', 'mousedown', 'touchstart']) addEventListener(type, resume, true);
  };

  // SDL's sound calls the game's mixer through dynCall, which this
  // emscripten leaves out of the loader: a call through the game's table.
  window.dynCall = function (signature, pointer, args) {
    return wasmTable.get(pointer).apply(null, args || []);
  };

  function show(id, visible) {
    $(id).classList.toggle('hidden', !visible);
  }

  function start(event) {
    if (page.started || !page.ready) return;
    page.started = true;
    if (event) event.preventDefault();
    removeEventListener('keydown', start, true);
    removeEventListener('pointerdown', start, true);
    show('overlay', false);
    show('touch', touchScreen());
    canvas.focus();
    callMain(gameArguments());
  }

  function ended(code) {
    page.ended = code;
    show('touch', false);
    show('name', false);
    if (document.fullscreenElement) document.exitFullscreen();
    $('status').textContent = code === 0 ? 'The game has ended.' : 'The game has ended (status ' + code + ').';
    show('bar', false);
    show('gate', false);
    show('again', true);
    show('overlay', true);
  }

  window.Module = {
    canvas: canvas,
    preRun: [mountScores],
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    setStatus(text) {
      const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (m) $('fill').style.width = (100 * Number(m[1]) / Number(m[2])).toFixed(1) + '%';
    },
    onRuntimeInitialized() {
      page.ready = true;
      $('status').textContent = '';
      $('fill').style.width = '100%';
      show('bar', false);
      show('gate', true);
      addEventListener('keydown', start, true);
      addEventListener('pointerdown', start, true);
    },
    onExit: ended,
    onAbort(what) {
      ended('aborted: ' + what);
    },
  };
  $('again').addEventListener('click', () => location.reload());

  // Fullscreen on Alt+Enter, as on the desktop, or the button. The page does
  // it (a browser lets only the page's own handlers ask), and the game never
  // sees the key; the canvas follows the window's new size.
  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  }
  function altEnter(event) {
    if (event.key === 'Enter' && event.altKey) {
      event.preventDefault();
      event.stopImmediatePropagation();
      if (event.type === 'keydown' && !event.repeat) toggleFullscreen();
    }
  }
  addEventListener('keydown', altEnter, true);
  addEventListener('keyup', altEnter, true);
  // Buttons never keep the focus (Space on a focused button would press it);
  // a click anywhere gives the keyboard back to the canvas.
  for (const button of document.querySelectorAll('button')) {
    button.addEventListener('mousedown', (event) => event.preventDefault());
  }
  addEventListener('pointerdown', (event) => {
    if (event.target !== $('name')) canvas.focus();
  });
  $('fullscreen').addEventListener('click', toggleFullscreen);

  // Touch: the buttons press the same keys as the keyboard, held while
  // touched, and at least long enough for the game to see the press.
  const keys = {
    Left: { code: 'ArrowLeft', key: 'ArrowLeft', keyCode: 37 },
    Right: { code: 'ArrowRight', key: 'ArrowRight', keyCode: 39 },
    Up: { code: 'ArrowUp', key: 'ArrowUp', keyCode: 38 },
    Space: { code: 'Space', key: ' ', keyCode: 32 },
    Backspace: { code: 'Backspace', key: 'Backspace', keyCode: 8 },
    Enter: { code: 'Enter', key: 'Enter', keyCode: 13 },
  };
  function keyOfCharacter(c) {
    const upper = c.toUpperCase();
    if (upper >= 'A' && upper <= 'Z') return { code: 'Key' + upper, key: c, keyCode: upper.charCodeAt(0) };
    if (c >= '0' && c <= '9') return { code: 'Digit' + c, key: c, keyCode: c.charCodeAt(0) };
    if (c === ' ') return keys.Space;
    return null;
  }
  function sendKey(type, k) {
    const event = new KeyboardEvent(type, { code: k.code, key: k.key, bubbles: true, cancelable: true });
    Object.defineProperty(event, 'keyCode', { get: () => k.keyCode });
    Object.defineProperty(event, 'which', { get: () => k.keyCode });
    dispatchEvent(event);
  }
  const kLeastHoldMs = 80;
  function touchScreen() {
    return new URLSearchParams(location.search).has('touch') || matchMedia('(pointer: coarse)').matches;
  }
  for (const button of document.querySelectorAll('#touch [data-key]')) {
    const k = keys[button.dataset.key];
    let downAt = 0;
    let release = null;
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (downAt) return;
      clearTimeout(release);
      downAt = performance.now();
      sendKey('keydown', k);
    });
    const up = () => {
      if (!downAt) return;
      const wait = Math.max(0, kLeastHoldMs - (performance.now() - downAt));
      downAt = 0;
      release = setTimeout(() => sendKey('keyup', k), wait);
    };
    for (const type of ['pointerup', 'pointercancel', 'pointerleave']) button.addEventListener(type, up);
  }

  // Typing a name on a touch screen: a text field whose changes become key
  // presses, one at a time with the pause the name entry waits for between
  // keys; its Enter (or the Name button again) ends the name.
  const taps = [];
  let tapping = false;
  function tap(k) {
    taps.push(k);
    if (!tapping) nextTap();
  }
  function nextTap() {
    const k = taps.shift();
    if (!k) {
      tapping = false;
      return;
    }
    tapping = true;
    sendKey('keydown', k);
    setTimeout(() => sendKey('keyup', k), kLeastHoldMs);
    setTimeout(nextTap, 300);
  }
  const field = $('name');
  let typed = '';
  function closeField() {
    show('name', false);
    field.blur();
    canvas.focus();
  }
  $('type').addEventListener('click', () => {
    if (!field.classList.contains('hidden')) {
      tap(keys.Enter);
      closeField();
      return;
    }
    field.value = typed = '';
    show('name', true);
    field.focus();
  });
  for (const type of ['keydown', 'keyup', 'keypress']) {
    field.addEventListener(type, (event) => {
      event.stopPropagation();
      if (type === 'keydown' && event.key === 'Enter') {
        event.preventDefault();
        tap(keys.Enter);
        closeField();
      }
    });
  }
  field.addEventListener('input', () => {
    const now = field.value;
    let same = 0;
    while (same < typed.length && same < now.length && typed[same] === now[same]) same++;
    for (let i = same; i < typed.length; i++) tap(keys.Backspace);
    for (const c of now.slice(same)) {
      const k = keyOfCharacter(c);
      if (k) tap(k);
    }
    typed = now;
  });
})();

// The page's side of the web player, run before the player starts (linked in as its pre-js).
//
// Before main: the page's address becomes the player's options, the game archive (game.tar.gz,
// a gzip-compressed ustar archive made by `vorn-data web`) is unpacked into /game, the Gothic
// font (cut to the game's characters) goes to /fonts, and the settings file and saved games are
// restored from the browser's storage into /save. Every file the player closes or renames under
// /save is written back to the storage at once. Sound: effects through the page's audio, music through a soundfont synthesiser that is
// loaded the first time a piece plays. The canvas is scaled by the largest whole factor that fits.
var Module = typeof Module !== "undefined" ? Module : {};

(function () {
  "use strict";

  // Options the page's address may give, as the player's own command-line options.
  var knownOptions = { seed: 1, "text-speed": 1, "music-volume": 1, "sound-volume": 1, mute: 0 };
  var args = ["/game"];
  var query = new URLSearchParams(location.search);
  query.forEach(function (value, name) {
    if (!(name in knownOptions)) return;
    args.push("--" + name);
    if (knownOptions[name]) args.push(value);
  });
  Module.arguments = args;
  Module.canvas = document.getElementById("canvas");
  Module.print = function (text) { console.log(text); };
  Module.printErr = function (text) { console.warn(text); };

  var status = document.getElementById("status");
  function say(text) {
    if (status) status.textContent = text;
  }

  // --- The canvas's whole-number scale ---------------------------------------------------------
  function fit() {
    var canvas = Module.canvas;
    var room = canvas.parentElement.getBoundingClientRect();
    var width = Math.max(room.width, 1), height = Math.max(window.innerHeight - room.top - 8, 1);
    var scale = Math.max(1, Math.floor(Math.min(width / 512, height / 384)));
    canvas.style.width = 512 * scale + "px";
    canvas.style.height = 384 * scale + "px";
    page.scale = scale;
  }

  // --- Files ------------------------------------------------------------------------------------
  function fetchBytes(url) {
    return fetch(url).then(function (response) {
      if (!response.ok) throw new Error(url + ": " + response.status);
      return response.arrayBuffer();
    }).then(function (buffer) { return new Uint8Array(buffer); });
  }

  // A gzip-compressed file, uncompressed by the browser as it arrives.
  function fetchUnpacked(url) {
    return fetch(url).then(function (response) {
      if (!response.ok) throw new Error(url + ": " + response.status);
      if (typeof DecompressionStream === "undefined") throw new Error("this browser cannot uncompress " + url);
      return new Response(response.body.pipeThrough(new DecompressionStream("gzip"))).arrayBuffer();
    }).then(function (buffer) { return new Uint8Array(buffer); });
  }

  function octal(bytes, start, length) {
    var text = "";
    for (var i = start; i < start + length && bytes[i] !== 0; i++) text += String.fromCharCode(bytes[i]);
    return parseInt(text.trim() || "0", 8);
  }

  function text(bytes, start, length) {
    var end = start;
    while (end < start + length && bytes[end] !== 0) end++;
    return new TextDecoder().decode(bytes.subarray(start, end));
  }

  // Writes the files of a ustar archive under `root`; names that would leave it are skipped.
  function unpack(bytes, root) {
    var count = 0;
    for (var at = 0; at + 512 <= bytes.length;) {
      if (bytes[at] === 0) break;
      var name = text(bytes, at, 100), prefix = text(bytes, at + 345, 155);
      var size = octal(bytes, at + 124, 12), type = String.fromCharCode(bytes[at + 156] || 48);
      var path = (prefix ? prefix + "/" : "") + name;
      var parts = path.split("/").filter(function (part) { return part && part !== "."; });
      var safe = parts.length > 0 && parts.indexOf("..") < 0;
      at += 512;
      if (safe && type === "5") {
        FS.mkdirTree(root + "/" + parts.join("/"));
      } else if (safe && (type === "0" || type === "\0")) {
        if (parts.length > 1) FS.mkdirTree(root + "/" + parts.slice(0, -1).join("/"));
        FS.writeFile(root + "/" + parts.join("/"), bytes.subarray(at, at + size));
        count++;
      }
      at += Math.ceil(size / 512) * 512;
    }
    return count;
  }

  // The saved games and the settings file go back to the browser's storage after each change.
  var syncing = false, syncAgain = false;
  function syncSaves() {
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, function (error) {
      syncing = false;
      if (error) console.warn("vorn: the saved games could not be stored: " + error);
      else page.savesStored++;
      if (syncAgain) {
        syncAgain = false;
        syncSaves();
      }
    });
  }

  function underSaves(path) {
    return typeof path === "string" && path.indexOf("/save/") === 0;
  }

  function watchSaves() {
    var close = FS.close, rename = FS.rename, unlink = FS.unlink;
    FS.close = function (stream) {
      var path = stream && stream.path, writing = stream && (stream.flags & 3) !== 0;
      var result = close.apply(this, arguments);
      if (writing && underSaves(path)) syncSaves();
      return result;
    };
    FS.rename = function (from, to) {
      var result = rename.apply(this, arguments);
      if (underSaves(to)) syncSaves();
      return result;
    };
    FS.unlink = function (path) {
      var result = unlink.apply(this, arguments);
      if (underSaves(path)) syncSaves();
      return result;
    };
  }

  function prepareFiles() {
    addRunDependency("vorn-files");
    say("Loading the game...");
    // Each page keeps its games in a store of its own, named after the page's folder: two games
    // served from one site do not share their saved games.
    var store = ("/vorn-saves" + location.pathname.replace(/[^/]*$/, "")).replace(/\/+$/, "");
    FS.mkdirTree(store);
    FS.mount(IDBFS, {}, store);
    FS.symlink(store, "/save");
    FS.mkdir("/fonts");
    var saves = new Promise(function (resolve) {
      FS.syncfs(true, function (error) {
        if (error) console.warn("vorn: no saved games could be read: " + error);
        resolve();
      });
    });
    var game = fetchUnpacked("game.tar.gz").then(function (bytes) {
      FS.mkdir("/game");
      page.gameFiles = unpack(bytes, "/game");
    });
    // The Gothic face cut to the game's characters; the player fetches the whole face itself
    // when the game draws a character the cut lacks.
    var font = fetchBytes("fonts/game/ipag.ttf").then(function (bytes) {
      FS.writeFile("/fonts/ipag.ttf", bytes);
    });
    Promise.all([saves, game, font]).then(function () {
      watchSaves();
      say("");
      removeRunDependency("vorn-files");
    }, function (error) {
      say("The game could not be loaded: " + error.message);
      console.error(error);
    });
  }

  // --- Sound ------------------------------------------------------------------------------------
  var audio = null, musicGain = null, soundGain = null, volumes = { music: 1, sound: 1 };
  var effects = new Map(), effectSource = null;
  var synth = null, synthReady = null, musicToken = 0;

  function audioContext() {
    if (!audio) {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return null;
      audio = new Context();
      musicGain = audio.createGain();
      soundGain = audio.createGain();
      musicGain.gain.value = volumes.music;
      soundGain.gain.value = volumes.sound;
      musicGain.connect(audio.destination);
      soundGain.connect(audio.destination);
    }
    // Browsers start audio only after the player has touched the page.
    if (audio.state === "suspended") audio.resume().catch(function () {});
    return audio;
  }

  function loadScript(url) {
    return new Promise(function (resolve, reject) {
      var script = document.createElement("script");
      script.src = url;
      script.onload = resolve;
      script.onerror = function () { reject(new Error("cannot load " + url)); };
      document.head.appendChild(script);
    });
  }

  // The synthesiser and its soundfont, made once: in the audio thread where the browser has one,
  // else on the page.
  function synthesiser() {
    if (synthReady) return synthReady;
    var context = audioContext();
    if (!context) return (synthReady = Promise.reject(new Error("no audio")));
    var soundfont = fetch("soundfont.sf2").then(function (response) {
      if (!response.ok) throw new Error("soundfont.sf2: " + response.status);
      return response.arrayBuffer();
    });
    var made;
    if (context.audioWorklet) {
      made = loadScript("js-synthesizer.min.js").then(function () {
        return context.audioWorklet.addModule("libfluidsynth.js");
      }).then(function () {
        return context.audioWorklet.addModule("js-synthesizer.worklet.min.js");
      }).then(function () {
        var s = new JSSynth.AudioWorkletNodeSynthesizer();
        s.init(context.sampleRate);
        s.createAudioNode(context).connect(musicGain);
        return s;
      });
    } else {
      made = loadScript("libfluidsynth.js").then(function () {
        return loadScript("js-synthesizer.min.js");
      }).then(function () { return JSSynth.waitForReady(); }).then(function () {
        var s = new JSSynth.Synthesizer();
        s.init(context.sampleRate);
        s.createAudioNode(context, 4096).connect(musicGain);
        return s;
      });
    }
    synthReady = Promise.all([made, soundfont]).then(function (both) {
      synth = both[0];
      return synth.loadSFont(both[1]).then(function () { return synth; });
    });
    synthReady.catch(function (error) { console.warn("vorn: no music: " + error.message); });
    return synthReady;
  }

  var page = {
    scale: 1,
    passes: 0,
    gameFiles: 0,
    savesStored: 0,
    musicStarted: 0,
    effectsPlayed: 0,
    endCode: null,
    transcript: [],
    stateWanted: [],

    transcriptLine: function (kind, line) {
      page.transcript.push([kind, line]);
      if (page.transcript.length > 5000) page.transcript.splice(0, 1000);
    },
    passed: function () {
      page.passes++;
      return page.stateWanted.length > 0;
    },
    // The game state as the player's state dump has it, after the next pass.
    state: function () {
      return new Promise(function (resolve) { page.stateWanted.push(resolve); });
    },
    stateGiven: function (json) {
      var state = JSON.parse(json), waiting = page.stateWanted;
      page.stateWanted = [];
      waiting.forEach(function (resolve) { resolve(state); });
    },
    ended: function (code, message) {
      page.endCode = code;
      say(code === 0 ? "The game has ended. Reload the page to play again."
        : "The player stopped (" + message + ", code " + code + ").");
    },

    setVolumes: function (music, sound) {
      volumes.music = music;
      volumes.sound = sound;
      if (musicGain) musicGain.gain.value = music;
      if (soundGain) soundGain.gain.value = sound;
    },
    playEffect: function (name, bytes) {
      var context = audioContext();
      if (!context || volumes.sound === 0) return;
      var decoded = effects.get(name);
      if (!decoded) {
        decoded = context.decodeAudioData(bytes.buffer).catch(function () { return null; });
        effects.set(name, decoded);
      }
      decoded.then(function (buffer) {
        if (!buffer) return;
        page.stopEffect();
        effectSource = context.createBufferSource();
        effectSource.buffer = buffer;
        effectSource.connect(soundGain);
        effectSource.start();
        page.effectsPlayed++;
      });
    },
    stopEffect: function () {
      if (effectSource) {
        try { effectSource.stop(); } catch (e) { /* already ended */ }
        effectSource = null;
      }
    },
    playMusic: function (bytes) {
      var token = ++musicToken;
      if (volumes.music === 0) return;
      synthesiser().then(function (s) {
        if (token !== musicToken) return;
        s.stopPlayer();
        return s.resetPlayer().then(function () {
          if (token !== musicToken) return;
          s.midiAllSoundsOff();
          return s.addSMFDataToPlayer(bytes.buffer).then(function () {
            if (token !== musicToken) return;
            page.musicStarted++;
            return s.playPlayer();
          });
        });
      }).catch(function () {});
    },
    stopMusic: function () {
      musicToken++;
      if (synth) {
        synth.stopPlayer();
        synth.midiAllSoundsOff();
      }
    },
  };
  Module.vornPage = page;

  // Audio may start once the player has pressed a key or touched the page.
  ["keydown", "pointerdown", "touchstart"].forEach(function (kind) {
    window.addEventListener(kind, function () { if (audio) audioContext(); }, { capture: true, passive: true });
  });
  window.addEventListener("resize", fit);
  // Sized before the player opens its window, so that SDL leaves the canvas's size to the page.
  fit();

  Module.preRun = Module.preRun || [];
  Module.preRun.push(prepareFiles);
  Module.onRuntimeInitialized = fit;
})();

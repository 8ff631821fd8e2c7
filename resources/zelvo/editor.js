// Zelvo's editor page: one editable root written vertically, driven by the program through the
// object zelvo_editor and the function style_html, reporting selection and edits back through the
// script message channels "selectionChanged" and "contentChanged".
//
// A note's HTML is data. Whatever enters the page (a note, an insertion, a paste or a drop) is
// cleaned first: script elements and other active content, event-handler attributes and script
// URLs are dropped, so a note never runs code. The page's Content-Security-Policy is the second
// line of defence.
"use strict";

(function () {
  // ---- Cleaning -----------------------------------------------------------------------------

  var DROPPED_ELEMENTS = {
    script: 1, noscript: 1, style: 1, template: 1, iframe: 1, frame: 1, frameset: 1,
    object: 1, embed: 1, applet: 1, base: 1, meta: 1, link: 1, title: 1, portal: 1,
    // SVG animations can set an address attribute after the cleaning has looked at it.
    animate: 1, set: 1, animatemotion: 1, animatetransform: 1, handler: 1, listener: 1
  };
  var URL_ATTRIBUTES = {
    href: 1, src: 1, action: 1, formaction: 1, "xlink:href": 1, data: 1, poster: 1,
    background: 1, cite: 1, lowsrc: 1, dynsrc: 1, ping: 1, srcset: 1, longdesc: 1, manifest: 1
  };

  // Whether a URL would run script or load a document of its own when followed. Browsers ignore
  // blanks and control characters inside the scheme, so they are ignored here too.
  function isActiveURL(value, attribute) {
    var bare = String(value).replace(/[\u0000-\u0020\u007f-\u00a0\u1680\u180e\u2000-\u200f\u2028\u2029\u205f\u3000\ufeff]/g, "")
      .toLowerCase();
    if (/^(javascript|vbscript|livescript|mocha):/.test(bare)) return true;
    if (bare.indexOf("data:") === 0) {
      return !(attribute === "src" && /^data:image\/(png|jpe?g|gif|webp|bmp);/.test(bare));
    }
    return false;
  }

  function cleanElement(element) {
    if (!element.hasAttributes()) return;
    var names = [];
    for (var i = 0; i < element.attributes.length; i++) names.push(element.attributes[i].name);
    names.forEach(function (name) {
      var lower = name.toLowerCase();
      if (lower.indexOf("on") === 0 || lower === "srcdoc" || lower === "formaction" ||
          lower === "contenteditable") {
        element.removeAttribute(name);
      } else if (URL_ATTRIBUTES[lower] && isActiveURL(element.getAttribute(name), lower)) {
        element.removeAttribute(name);
      }
    });
  }

  // Cleans a tree in place.
  function cleanTree(node) {
    var child = node.firstChild;
    while (child) {
      var next = child.nextSibling;
      if (child.nodeType === Node.ELEMENT_NODE) {
        if (DROPPED_ELEMENTS[child.localName.toLowerCase()]) {
          node.removeChild(child);
        } else {
          cleanElement(child);
          cleanTree(child);
        }
      } else if (child.nodeType !== Node.TEXT_NODE) {
        // Comments (pasted office documents carry conditional ones), processing instructions.
        node.removeChild(child);
      }
      child = next;
    }
    return node;
  }

  // Parses HTML into an inert template (its content has no browsing context: nothing in it loads
  // or runs) and cleans it.
  function parsedClean(html) {
    var template = document.createElement("template");
    template.innerHTML = html == null ? "" : String(html);
    cleanTree(template.content);
    return template;
  }

  function parseClean(html) {
    return parsedClean(html).content;
  }

  // ---- Showing a long note ------------------------------------------------------------------

  // A note goes into the page a part at a time: the first part at once, the rest in later turns of
  // the page's loop, so that the engine draws the beginning of a long note without first laying
  // out all of it. Until all is in, the rest waits parsed and cleaned in `pending`: the note's
  // markup is what the root holds followed by what waits, and whatever reads the note's text or
  // changes it puts the rest in first.
  var FIRST_PART = 16384;  // characters of text: a few screens
  var NEXT_PARTS = 65536;
  var pending = null;  // a template holding the rest of the note
  var pendingTimer = 0;

  // Moves whole top-level nodes until about `budget` characters of text have moved.
  function moveSome(from, to, budget) {
    var moved = 0;
    while (from.firstChild && moved < budget) {
      moved += from.firstChild.textContent.length + 1;
      to.appendChild(from.firstChild);
    }
  }

  function stopShowingRest() {
    clearTimeout(pendingTimer);
    pendingTimer = 0;
  }

  function showRest() {
    pendingTimer = 0;
    if (!pending) return;
    unwatched(function () { moveSome(pending.content, root(), NEXT_PARTS); });
    if (pending.content.firstChild) pendingTimer = setTimeout(showRest, 0);
    else pending = null;
  }

  // The whole note in the root, now.
  function settle() {
    if (!pending) return;
    stopShowingRest();
    var rest = pending.content;
    pending = null;
    unwatched(function () { root().appendChild(rest); });
  }

  function dropPending() {
    stopShowingRest();
    pending = null;
  }

  // The note's markup: what the root holds and what still waits.
  function markup() { return root().innerHTML + (pending ? pending.innerHTML : ""); }

  // ---- Whether the note was edited ----------------------------------------------------------

  // Every change to the note's tree counts as an edit, whichever way it came (typing, a command,
  // a drop, undo); putting a note in, or the rest of a long one, does not, and neither do the
  // root's own attributes (whether it takes typing, its placeholder). So a note opened and left
  // alone is never read back, and never stored. Edits are counted from the note's showing: the
  // program asks for the markup with the count it last stored, and an answer it never got is
  // simply asked for again.
  var edits = 0;
  // The note the program put in (its id, or null): every report of an edit names it, so the
  // program stores what was typed into the note it was typed into.
  var noteId = null;
  var watcher = new MutationObserver(noteEdits);

  function noteEdits(records) {
    var element = root();
    for (var i = 0; i < records.length; i++) {
      if (records[i].type !== "attributes" || records[i].target !== element) {
        edits += 1;
        return;
      }
    }
  }

  // A change of the page's own to the tree, which is no edit.
  function unwatched(change) {
    noteEdits(watcher.takeRecords());
    change();
    watcher.takeRecords();
  }

  function cleanHTML(html) {
    var holder = document.createElement("div");
    holder.appendChild(parseClean(html));
    return holder.innerHTML;
  }

  // ---- Formatting (style_html) --------------------------------------------------------------

  var VOID_ELEMENTS = {
    area: 1, base: 1, br: 1, col: 1, embed: 1, hr: 1, img: 1, input: 1, link: 1, meta: 1,
    param: 1, source: 1, track: 1, wbr: 1
  };
  var BLOCK_ELEMENTS = {
    address: 1, article: 1, aside: 1, blockquote: 1, center: 1, dd: 1, details: 1, dialog: 1,
    dir: 1, div: 1, dl: 1, dt: 1, fieldset: 1, figcaption: 1, figure: 1, footer: 1, form: 1,
    h1: 1, h2: 1, h3: 1, h4: 1, h5: 1, h6: 1, header: 1, hgroup: 1, hr: 1, li: 1, main: 1,
    menu: 1, nav: 1, ol: 1, p: 1, pre: 1, section: 1, summary: 1, table: 1, tbody: 1, thead: 1,
    tfoot: 1, tr: 1, td: 1, th: 1, caption: 1, colgroup: 1, ul: 1, legend: 1
  };
  var VERBATIM_ELEMENTS = { pre: 1, textarea: 1, listing: 1, xmp: 1, plaintext: 1 };
  var BLANKS = /^[ \t\n\f\r]+|[ \t\n\f\r]+$/g;

  function escapeText(text) {
    return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
      .replace(/\u00a0/g, "&nbsp;");
  }

  function escapeAttribute(text) {
    return text.replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/\u00a0/g, "&nbsp;");
  }

  function tagName(element) { return element.localName.toLowerCase(); }

  function isBlock(node) {
    return node.nodeType === Node.ELEMENT_NODE && BLOCK_ELEMENTS[tagName(node)] === 1;
  }

  function openTag(element) {
    var out = "<" + tagName(element);
    for (var i = 0; i < element.attributes.length; i++) {
      var attribute = element.attributes[i];
      out += " " + attribute.name + "=\"" + escapeAttribute(attribute.value) + "\"";
    }
    return out;
  }

  // Inline content exactly as it stands: no blank is added or removed.
  function inlineMarkup(node) {
    if (node.nodeType === Node.TEXT_NODE) return escapeText(node.data);
    if (node.nodeType !== Node.ELEMENT_NODE) return "";
    var name = tagName(node);
    if (VOID_ELEMENTS[name]) return openTag(node) + " />";
    var inner = "";
    // The parser drops one line feed right after these opening tags; keep a leading one.
    if (VERBATIM_ELEMENTS[name] && node.firstChild && node.firstChild.nodeType === Node.TEXT_NODE &&
        node.firstChild.data.charAt(0) === "\n") inner = "\n";
    for (var child = node.firstChild; child; child = child.nextSibling) inner += inlineMarkup(child);
    return openTag(node) + ">" + inner + "</" + name + ">";
  }

  // The children of a container, one line per block child and per run of inline children. Blanks
  // at the edges of a run sit against a block boundary, where they show nothing, so they are
  // trimmed: the line breaks added here are then trimmed again on the next pass, which is what
  // makes formatting a fixed point.
  function childLines(parent) {
    var lines = [];
    var run = "";
    var hasBlock = false;
    for (var c = parent.firstChild; c; c = c.nextSibling) if (isBlock(c)) { hasBlock = true; break; }
    function flush() {
      var trimmed = run.replace(BLANKS, "");
      if (trimmed !== "") lines.push(trimmed);
      run = "";
    }
    for (var child = parent.firstChild; child; child = child.nextSibling) {
      if (hasBlock && isBlock(child)) {
        flush();
        lines.push(blockMarkup(child));
      } else {
        run += inlineMarkup(child);
      }
    }
    flush();
    return { lines: lines, hasBlock: hasBlock };
  }

  function blockMarkup(element) {
    var name = tagName(element);
    if (VOID_ELEMENTS[name] || VERBATIM_ELEMENTS[name]) return inlineMarkup(element);
    var content = childLines(element);
    if (!content.hasBlock) return openTag(element) + ">" + content.lines.join("") + "</" + name + ">";
    return openTag(element) + ">\n" + content.lines.join("\n") + "\n</" + name + ">";
  }

  function formatOnce(html) {
    return childLines(parseClean(html)).lines.join("\n");
  }

  // The stored form of a note: cleaned, one block per line. Formatting formatted HTML changes
  // nothing. Markup the parser rebuilds differently (a division inside a paragraph, say) settles
  // after a pass or two, so passes repeat until the text stands still.
  function styleHTML(html) {
    var out = formatOnce(html);
    for (var pass = 0; pass < 4; pass++) {
      var next = formatOnce(out);
      if (next === out) break;
      out = next;
    }
    return out;
  }

  // ---- The editable root --------------------------------------------------------------------

  var savedRange = null;
  // Key presses that reached the page, whether it took typing or not: the program waits for every
  // key it handed to the web engine to arrive before it locks or unlocks the page, since the
  // engine passes queued keys on one at a time, between the program's own statements.
  var keysSeen = 0;
  // Whether the note takes typing. A locked page keeps its root editable (turning that off and on
  // restyles the whole note, which for a long one takes longer than the switch itself) and refuses
  // every key, input and paste instead.
  var takesTyping = false;

  // Whether the page is locked, and so refuses what this event would do.
  function refused(event) {
    if (!takesTyping) event.preventDefault();
    return !takesTyping;
  }

  document.addEventListener("keydown", function (event) {
    keysSeen += 1;
    refused(event);
  }, true);
  // Mouse button presses that reached the page: the engine passes them on apart from the keys, so
  // the program holds the keys typed after a click until the page has seen the click.
  var pressesSeen = 0;
  document.addEventListener("mousedown", function () { pressesSeen += 1; }, true);
  var placeholderText = "";
  var history = { undo: [], redo: [], lastKind: "", lastTime: 0, replaying: false };
  var HISTORY_LIMIT = 200;

  function root() { return document.getElementById("zelvo_content"); }

  function post(channel, body) {
    var handlers = window.webkit && window.webkit.messageHandlers;
    if (handlers && handlers[channel]) handlers[channel].postMessage(body);
  }

  function isEmpty() {
    var element = root();
    if (!element) return true;
    if (pending) return false;
    // The first text that is not blank decides; a long note is not copied out whole for it.
    var texts = document.createTreeWalker(element, NodeFilter.SHOW_TEXT);
    while (texts.nextNode()) {
      if (/[^ \t\n\r\f]/.test(texts.currentNode.data)) return false;
    }
    return !element.querySelector("img, hr, table, li");
  }

  function updatePlaceholder() {
    var element = root();
    if (!element) return;
    element.setAttribute("data-placeholder", placeholderText);
    element.classList.toggle("zelvo-empty", isEmpty());
  }

  function selectionInRoot() {
    var selection = window.getSelection();
    if (!selection || selection.rangeCount === 0) return null;
    var range = selection.getRangeAt(0);
    return root().contains(range.commonAncestorContainer) ? range : null;
  }

  // A place in the tree as child indices from the root, so it survives replacing the markup.
  function pathOf(node, offset) {
    var path = [];
    var element = root();
    while (node && node !== element) {
      var index = 0;
      for (var sibling = node.previousSibling; sibling; sibling = sibling.previousSibling) index++;
      path.unshift(index);
      node = node.parentNode;
    }
    return node === element ? { path: path, offset: offset } : null;
  }

  function nodeAt(place) {
    var node = root();
    for (var i = 0; i < place.path.length; i++) {
      node = node.childNodes[place.path[i]];
      if (!node) return null;
    }
    return node;
  }

  function snapshot() {
    var range = selectionInRoot();
    return {
      html: root().innerHTML,
      start: range ? pathOf(range.startContainer, range.startOffset) : null,
      end: range ? pathOf(range.endContainer, range.endOffset) : null
    };
  }

  function restore(state) {
    root().innerHTML = state.html;
    updatePlaceholder();
    if (!state.start || !state.end) return;
    var start = nodeAt(state.start);
    var end = nodeAt(state.end);
    if (!start || !end) return;
    try {
      var range = document.createRange();
      range.setStart(start, state.start.offset);
      range.setEnd(end, state.end.offset);
      var selection = window.getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
    } catch (e) {
      // The place no longer fits the restored tree: leave the caret where the engine put it.
    }
  }

  // Records the state before a change. Typing of one kind within a second joins the previous step,
  // so one undo takes back a word rather than a letter.
  function recordChange(kind) {
    if (history.replaying) return;
    var now = Date.now();
    if (kind === "typing" && history.lastKind === "typing" && now - history.lastTime < 1000) {
      history.lastTime = now;
      return;
    }
    history.undo.push(snapshot());
    if (history.undo.length > HISTORY_LIMIT) history.undo.shift();
    history.redo = [];
    history.lastKind = kind;
    history.lastTime = now;
  }

  function resetHistory() {
    history.undo = [];
    history.redo = [];
    history.lastKind = "";
  }

  function changed() {
    updatePlaceholder();
    post("contentChanged", noteId === null ? "" : String(noteId));
  }

  function undo() {
    if (history.undo.length === 0) return false;
    history.redo.push(snapshot());
    history.replaying = true;
    restore(history.undo.pop());
    history.replaying = false;
    history.lastKind = "";
    changed();
    return true;
  }

  function redo() {
    if (history.redo.length === 0) return false;
    history.undo.push(snapshot());
    history.replaying = true;
    restore(history.redo.pop());
    history.replaying = false;
    history.lastKind = "";
    changed();
    return true;
  }

  function restoreSavedRange() {
    var element = root();
    if (savedRange && element.contains(savedRange.commonAncestorContainer)) {
      var selection = window.getSelection();
      selection.removeAllRanges();
      selection.addRange(savedRange);
    } else if (!selectionInRoot()) {
      // Nothing kept: insert at the end of the note.
      var range = document.createRange();
      range.selectNodeContents(element);
      range.collapse(false);
      var current = window.getSelection();
      current.removeAllRanges();
      current.addRange(range);
    }
    element.focus();
  }

  // One formatting command of the engine, recorded for undo and reported as an edit.
  function command(name, value) {
    var element = root();
    if (!element) return false;
    if (!selectionInRoot()) restoreSavedRange();
    recordChange("command");
    var done = document.execCommand(name, false, value === undefined ? null : value);
    cleanTree(element);
    changed();
    return done;
  }

  function insertMarkup(html) {
    return command("insertHTML", cleanHTML(html));
  }

  // A paste from another program reaches the page through the engine's sanitiser, which lays the
  // markup out in a page of its own and writes back the text as it showed there: a blank that
  // fell at a line's end comes back as an empty run (a span it forces inline), every other blank
  // between elements as a no-break space in a span of the class "Apple-converted-space", and a
  // paragraph end at an edge as a line break of the class "Apple-interchange-newline". Each
  // blank was a space of the pasted text, and the line breaks are no text.
  function undoInterchange(fragment) {
    fragment.querySelectorAll("span, br.Apple-interchange-newline").forEach(function (node) {
      if (tagName(node) === "br") node.remove();
      else if (node.classList.contains("Apple-converted-space"))
        node.replaceWith(node.textContent.replace(/\u00a0/g, " "));
      else if (!node.firstChild && node.style.display === "inline" &&
               node.style.getPropertyPriority("display") === "important")
        node.textContent = " ";
    });
    return fragment;
  }

  // The parser ends these at a block's start, so a pasted block goes between their halves.
  var ENDED_BY_BLOCKS = { p: 1, h1: 1, h2: 1, h3: 1, h4: 1, h5: 1, h6: 1 };

  function isEmptyHalf(element) {
    return element.textContent === "" && !element.querySelector("img, br, hr");
  }

  // Puts the fragment in place of the selection as it stands. The engine's own insertion would
  // turn blanks at its edges into no-break spaces, restyle what it inserts and take seconds over
  // a long paste.
  function pasteFragment(fragment) {
    var element = root();
    if (!selectionInRoot()) restoreSavedRange();
    var selected = selectionInRoot();
    if (!selected) return;
    // A copy: the selection's own range would redo the selection at every node inserted.
    var range = selected.cloneRange();
    recordChange("command");
    range.deleteContents();
    var hasBlock = Array.prototype.some.call(fragment.childNodes, isBlock);
    for (var node = range.startContainer; hasBlock && node !== element; node = node.parentNode) {
      if (node.nodeType !== Node.ELEMENT_NODE || !ENDED_BY_BLOCKS[tagName(node)]) continue;
      var rest = document.createRange();
      rest.setStart(range.startContainer, range.startOffset);
      rest.setEnd(node, node.childNodes.length);
      var second = node.cloneNode(false);
      second.appendChild(rest.extractContents());
      node.after(second);
      range.setStartAfter(node);
      if (isEmptyHalf(second)) second.remove();
      if (isEmptyHalf(node)) node.remove();
      break;
    }
    var last = fragment.lastChild;
    range.insertNode(fragment);
    // The caret goes where the paste ends, in view, as after typing.
    if (last) {
      var marker = document.createElement("span");
      last.after(marker);
      marker.scrollIntoView({ block: "nearest", inline: "nearest" });
      marker.remove();
      if (isBlock(last)) range.selectNodeContents(last);
      else range.setStartAfter(last);
    }
    range.collapse(false);
    var selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    changed();
  }

  function isColour(value) {
    return typeof value === "string" && value.length < 64 && window.CSS && CSS.supports("color", value);
  }

  function safeURL(url) {
    return typeof url === "string" && url !== "" && !isActiveURL(url, "href");
  }

  function elementMarkup(name, attributes, text) {
    var element = document.createElement(name);
    Object.keys(attributes).forEach(function (key) { element.setAttribute(key, attributes[key]); });
    if (text !== undefined) element.textContent = text;
    return element.outerHTML;
  }

  function enclosing(name) {
    var range = selectionInRoot() || (savedRange && savedRange.cloneRange());
    if (!range) return null;
    var node = range.startContainer;
    while (node && node !== root()) {
      if (node.nodeType === Node.ELEMENT_NODE && tagName(node) === name) return node;
      node = node.parentNode;
    }
    return null;
  }

  function selectedText() {
    var range = selectionInRoot();
    return range ? range.toString() : "";
  }

  var editor = {
    contentHeight: 0,

    setHTML: function (html, id) {
      var element = root();
      if (!element) return false;
      noteId = typeof id === "number" ? id : null;
      dropPending();
      var parsed = parsedClean(html);
      // Every note opens at its start, not where the previous one was scrolled to. Scrolled while
      // the root is empty, so that nothing waits here for the note to be laid out: the engine
      // lays out what is shown when it next draws.
      unwatched(function () {
        element.replaceChildren();
        element.scrollTop = 0;
        element.scrollLeft = 0;
        window.scrollTo(0, 0);
        moveSome(parsed.content, element, FIRST_PART);
      });
      edits = 0;
      if (parsed.content.firstChild) {
        pending = parsed;
        pendingTimer = setTimeout(showRest, 0);
      }
      savedRange = null;
      // Undo never reaches back into the previous note.
      resetHistory();
      updatePlaceholder();
      return true;
    },
    // Whether the note may be typed into (no note shown: nothing to type into).
    setEditable: function (editable) {
      var element = root();
      if (!element) return false;
      takesTyping = !!editable;
      // Locked, a root that shows a note stays editable (see takesTyping); an empty one costs
      // nothing to restyle, and then takes no caret either.
      var empty = !element.hasChildNodes() && pending === null;
      var editing = takesTyping || (!empty && element.contentEditable === "true") ? "true" : "false";
      if (element.contentEditable !== editing) element.contentEditable = editing;
      // While locked (the program reads the note, or puts the next one in), the rest of a long
      // note waits rather than being laid out in between.
      stopShowingRest();
      if (pending && takesTyping) pendingTimer = setTimeout(showRest, 0);
      // Locked, it shows no caret, which would otherwise stay drawn where the note left was; it
      // comes back at the start of the note that takes typing next.
      if (!takesTyping && document.activeElement === element) element.blur();
      if (!takesTyping) return true;
      if (document.hasFocus() && document.activeElement === document.body)
        element.focus({ preventScroll: true });
      return true;
    },
    getHTML: function () { return markup(); },
    // With more edits than `seen` since the note was put in: the note's id ("null" for none),
    // their count and the note's markup, a space between each; otherwise null.
    editsSince: function (seen) {
      noteEdits(watcher.takeRecords());
      return edits > seen ? String(noteId) + " " + edits + " " + markup() : null;
    },
    getText: function () { return root().innerText; },
    setPlaceholder: function (text) {
      placeholderText = text == null ? "" : String(text);
      updatePlaceholder();
      return true;
    },
    insertHTML: function (html) { return insertMarkup(html); },
    getSelectedNode: function () { return selectedText(); },
    focusEditor: function () { root().focus(); return true; },
    blurEditor: function () { root().blur(); return true; },
    prepareInsert: function () {
      var range = selectionInRoot();
      savedRange = range ? range.cloneRange() : savedRange;
      return true;
    },

    setBold: function () { return command("bold"); },
    setItalic: function () { return command("italic"); },
    setSubscript: function () { return command("subscript"); },
    setSuperscript: function () { return command("superscript"); },
    setStrikeThrough: function () { return command("strikeThrough"); },
    setUnderline: function () { return command("underline"); },
    removeFormating: function () { return command("removeFormat"); },
    setJustifyLeft: function () { return command("justifyLeft"); },
    setJustifyCenter: function () { return command("justifyCenter"); },
    setJustifyRight: function () { return command("justifyRight"); },
    setJustifyFull: function () { return command("justifyFull"); },
    setUnorderedList: function () { return command("insertUnorderedList"); },
    setOrderedList: function () { return command("insertOrderedList"); },
    setHorizontalRule: function () { return command("insertHorizontalRule"); },
    setIndent: function () { return command("indent"); },
    setOutdent: function () { return command("outdent"); },
    setParagraph: function () { return command("formatBlock", "<p>"); },
    setHeading: function (level) {
      if (!/^h[1-6]$/.test(String(level))) return false;
      return command("formatBlock", "<" + level + ">");
    },
    setBackgroundColor: function (colour) {
      if (!isColour(colour)) return false;
      restoreSavedRange();
      return command("hiliteColor", colour);
    },
    // A family and a size in points for the selection (the font panel's choice).
    setFont: function (family, size) {
      var points = parseFloat(size);
      if (typeof family !== "string" || family === "" || family.length > 200 ||
          !(points > 0 && points < 1000)) return false;
      restoreSavedRange();
      var range = selectionInRoot();
      if (!range || range.collapsed) return false;
      var element = root();
      // The engine sizes only in steps 1 to 7: mark with 7, then give the marked runs the size.
      var before = new Set(element.querySelectorAll('font[size="7"]'));
      recordChange("command");
      document.execCommand("styleWithCSS", false, false);
      document.execCommand("fontName", false, family);
      document.execCommand("fontSize", false, "7");
      element.querySelectorAll('font[size="7"]').forEach(function (font) {
        if (before.has(font)) return;
        font.removeAttribute("size");
        font.style.fontSize = points + "pt";
      });
      cleanTree(element);
      changed();
      return true;
    },
    setTextColor: function (colour) {
      if (!isColour(colour)) return false;
      restoreSavedRange();
      return command("foreColor", colour);
    },

    insertLink: function (url, title) {
      if (!safeURL(url)) return false;
      restoreSavedRange();
      var range = selectionInRoot();
      if (range && !range.collapsed) return command("createLink", url);
      var text = title == null || title === "" ? url : String(title);
      return command("insertHTML", elementMarkup("a", { href: url }, text));
    },
    updateLink: function (url, title) {
      if (!safeURL(url)) return false;
      var link = enclosing("a");
      if (!link) return false;
      recordChange("command");
      link.setAttribute("href", url);
      if (title != null && title !== "") link.textContent = String(title);
      changed();
      return true;
    },
    unlink: function () {
      var link = enclosing("a");
      // The selection may have left the editor (a toolbar click): the kept range speaks then.
      var range = selectionInRoot() || savedRange;
      if (link && (!range || range.collapsed)) {
        var range = document.createRange();
        range.selectNodeContents(link);
        var selection = window.getSelection();
        selection.removeAllRanges();
        selection.addRange(range);
      }
      return command("unlink");
    },
    quickLink: function () {
      var text = selectedText().trim();
      if (!/^(https?:\/\/|mailto:)\S+$/i.test(text)) return false;
      return command("createLink", text);
    },
    insertImage: function (url, alt) {
      if (!safeURL(url) && !/^data:image\//i.test(String(url))) return false;
      restoreSavedRange();
      return command("insertHTML", elementMarkup("img", { src: url, alt: alt == null ? "" : String(alt) }));
    },
    updateImage: function (url, alt) {
      if (!safeURL(url)) return false;
      var image = enclosing("img");
      if (!image) return false;
      recordChange("command");
      image.setAttribute("src", url);
      image.setAttribute("alt", alt == null ? "" : String(alt));
      changed();
      return true;
    },
    setFooterHeight: function (height) {
      var value = parseFloat(height);
      if (!(value >= 0)) return false;
      document.body.style.paddingBottom = value + "px";
      return true;
    },

    undo: function () { return undo(); },
    redo: function () { return redo(); },
    keysSeen: function () { return keysSeen; },
    pressesSeen: function () { return pressesSeen; }
  };

  // Every operation but showing a note, reading its markup and the selection works on the whole
  // note.
  var WITHOUT_THE_REST = {
    setHTML: 1, getHTML: 1, editsSince: 1, setEditable: 1, setPlaceholder: 1, getSelectedNode: 1,
    focusEditor: 1, blurEditor: 1, prepareInsert: 1, keysSeen: 1, pressesSeen: 1
  };
  Object.keys(editor).forEach(function (name) {
    var operation = editor[name];
    if (typeof operation !== "function" || WITHOUT_THE_REST[name]) return;
    editor[name] = function () {
      settle();
      return operation.apply(editor, arguments);
    };
  });

  window.zelvo_editor = editor;
  // Formatting is how the program takes a note out of the page (saving, exporting, previewing,
  // the source view, and the read before a PDF is printed from the page): the whole note is in
  // the page from then on.
  window.style_html = function (html) {
    settle();
    return styleHTML(html);
  };

  // ---- Events from the user -----------------------------------------------------------------

  function typingKind(inputType) {
    return /^(insertText|insertCompositionText|deleteContentBackward|deleteContentForward)$/
      .test(inputType) ? "typing" : "edit";
  }

  document.addEventListener("DOMContentLoaded", function () {
    var element = root();
    updatePlaceholder();
    watcher.observe(element, { childList: true, subtree: true, characterData: true, attributes: true });

    element.addEventListener("beforeinput", function (event) {
      if (refused(event)) return;
      settle();
      if (event.inputType === "historyUndo" || event.inputType === "historyRedo") {
        event.preventDefault();
        if (event.inputType === "historyUndo") undo(); else redo();
        return;
      }
      recordChange(typingKind(event.inputType));
    });

    element.addEventListener("keydown", function (event) {
      var key = event.key.toLowerCase();
      if (!takesTyping || !(event.ctrlKey || event.metaKey)) return;
      // Shortcuts (select all, copy, undo) work on the whole note; a plain key that edits puts
      // the rest in before the edit, and one that only moves the caret need not wait for it.
      settle();
      if (key === "z" || key === "y") {
        event.preventDefault();
        if (key === "y" || event.shiftKey) redo(); else undo();
      }
    });

    element.addEventListener("paste", function (event) {
      if (refused(event)) return;
      settle();
      var data = event.clipboardData;
      if (!data) return;
      var html = data.getData("text/html");
      if (!html) return;
      event.preventDefault();
      pasteFragment(undoInterchange(parseClean(html)));
    });

    element.addEventListener("input", function (event) {
      settle();
      // Drops and pastes that reached the tree without passing the paste handler are cleaned
      // where they landed.
      if (!/^(insertText|insertCompositionText|deleteContent)/.test(event.inputType || "")) cleanTree(element);
      changed();
    });

    document.addEventListener("selectionchange", function () {
      if (selectionInRoot()) post("selectionChanged", selectedText());
    });
  });
})();

// The preview page: shows the HTML the program gives it and asks the program to print or to
// close. Note HTML is shown, never run: scripts, event handlers, frames and script links are
// dropped before it enters the page.
"use strict";

var zelvo_editor = (function () {
  function post(name) {
    var handlers = window.webkit && window.webkit.messageHandlers;
    if (handlers && handlers[name]) handlers[name].postMessage("");
  }

  function clean(node) {
    var dropped = ["SCRIPT", "IFRAME", "FRAME", "OBJECT", "EMBED", "LINK", "META", "BASE", "FORM"];
    var all = node.querySelectorAll("*");
    for (var i = all.length - 1; i >= 0; i--) {
      var element = all[i];
      if (dropped.indexOf(element.tagName) >= 0) { element.remove(); continue; }
      for (var j = element.attributes.length - 1; j >= 0; j--) {
        var attribute = element.attributes[j];
        var value = attribute.value.replace(/\s+/g, "").toLowerCase();
        if (attribute.name.toLowerCase().indexOf("on") === 0 || value.indexOf("javascript:") === 0)
          element.removeAttribute(attribute.name);
      }
    }
    return node;
  }

  document.addEventListener("DOMContentLoaded", function () {
    document.getElementById("print").addEventListener("click", function () { post("print"); });
    document.getElementById("exit").addEventListener("click", function () { post("exitFullScreen"); });
    document.addEventListener("keydown", function (event) {
      if (event.key === "Escape") post("exitFullScreen");
    });
  });

  return {
    setHTML: function (html) {
      var parsed = new DOMParser().parseFromString("<body>" + html + "</body>", "text/html");
      var content = document.getElementById("content");
      content.innerHTML = "";
      var body = clean(parsed.body);
      while (body.firstChild) content.appendChild(document.adoptNode(body.firstChild));
    }
  };
})();

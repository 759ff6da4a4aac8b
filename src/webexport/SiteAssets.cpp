#include "webexport/SiteAssets.h"

namespace tarnbook::webexport {

std::string_view siteStyleSheet() {
    return R"CSS(/* Layout of the exported help: a header, the contents at the left, the page at the right. */
html.tb-site { padding: 44px 0 0 300px; }
html.tb-site.tb-side-closed { padding-left: 0; }
#tb-header { position: fixed; top: 0; left: 0; right: 0; height: 44px; box-sizing: border-box;
  display: flex; align-items: center; gap: 12px; padding: 0 12px; background: #24476b;
  color: #fff; font: 14px/1.4 sans-serif; z-index: 1000; }
#tb-header a { color: #fff; text-decoration: none; }
#tb-header .tb-title { font-weight: bold; flex: 1; overflow: hidden; white-space: nowrap;
  text-overflow: ellipsis; }
#tb-header button, #tb-header input { font: inherit; }
#tb-header form { margin: 0; display: flex; gap: 4px; }
#tb-header input[type=search] { width: 14em; padding: 2px 6px; }
#tb-side { position: fixed; top: 44px; left: 0; bottom: 0; width: 300px; box-sizing: border-box;
  overflow: auto; padding: 8px 4px; background: #f4f6f9; border-right: 1px solid #ccd;
  font: 13px/1.5 sans-serif; z-index: 999; }
html.tb-side-closed #tb-side { display: none; }
#tb-side ul { list-style: none; margin: 0; padding-left: 16px; }
#tb-side > ul { padding-left: 0; }
#tb-side li.tb-closed > ul { display: none; }
#tb-side .tb-twisty { display: inline-block; width: 16px; border: 0; background: none;
  padding: 0; cursor: pointer; color: #555; }
#tb-side .tb-leaf { display: inline-block; width: 16px; }
#tb-side a { color: #1a3d6d; text-decoration: none; }
#tb-side a:hover { text-decoration: underline; }
#tb-side .tb-current > a, #tb-side .tb-current > span.tb-label { font-weight: bold;
  background: #dde6f3; }
#tb-side a.tb-external::after { content: " \2197"; }
@media (max-width: 700px) {
  html.tb-site { padding-left: 0; }
  html.tb-site:not(.tb-side-open) #tb-side { display: none; }
  #tb-side { width: 85%; }
}
.tb-links { border: 1px solid #bbc; background: #f8f9fc; padding: 4px 10px; margin: 8px 0; }
.tb-links-title { font-weight: bold; margin: 2px 0; }
.tb-links ul { margin: 2px 0; }
.tb-links-none { color: #666; margin: 2px 0; }
.tb-popup-link { cursor: help; }
.tb-popup { display: none; position: absolute; max-width: 28em; padding: 6px 10px;
  background: #ffffe8; border: 1px solid #888; box-shadow: 2px 2px 6px rgba(0,0,0,.3);
  color: #000; font-weight: normal; z-index: 1100; }
.tb-popup:target, .tb-popup.tb-open { display: block; }
.tb-result { margin: 0 0 12px; }
.tb-result p { margin: 2px 0; color: #333; }
.tb-result mark { background: #ffe37a; }
.tb-index dt { font-weight: bold; margin-top: 6px; }
)CSS";
}

std::string_view siteScript() {
    return R"JS(/* Draws the navigation of the exported help; the data comes from toc.js. */
(function () {
  'use strict';
  var site = window.TARNBOOK_SITE;
  var me = document.querySelector('script[src$="_tarnbook/site.js"]');
  if (!site || !me) return;
  var root = me.getAttribute('src').replace(/_tarnbook\/site\.js$/, '');
  var rootUrl = new URL(root || './', location.href).href;
  function safeDecode(u) { try { return decodeURI(u); } catch (e) { return u; } }
  var here = location.href.split('#')[0].split('?')[0];
  var herePath = here.indexOf(rootUrl) === 0 ? safeDecode(here.substring(rootUrl.length)) : '';

  function el(tag, attrs, text) {
    var e = document.createElement(tag);
    for (var k in attrs) if (attrs.hasOwnProperty(k)) e.setAttribute(k, attrs[k]);
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // Header: title, contents toggle, index, search.
  var header = el('div', { id: 'tb-header' });
  var toggle = el('button', { type: 'button', title: '目次の表示/非表示', 'aria-controls': 'tb-side' }, '☰');
  var title = el('a', { 'class': 'tb-title', href: root + site.start }, site.title);
  var index = el('a', { href: root + '_tarnbook/keywords.html' }, '索引');
  var form = el('form', { action: root + '_tarnbook/search.html', method: 'get', role: 'search' });
  var box = el('input', { type: 'search', name: 'q', placeholder: '検索', 'aria-label': '検索' });
  var go = el('button', { type: 'submit' }, '検索');
  form.appendChild(box); form.appendChild(go);
  header.appendChild(toggle); header.appendChild(title); header.appendChild(index);
  header.appendChild(form);

  // Side bar: the contents tree; headings fold, the path to this page is open.
  var side = el('nav', { id: 'tb-side', 'aria-label': '目次' });
  function addNodes(list, nodes) {
    var ul = el('ul');
    var holdsCurrent = false;
    nodes.forEach(function (n) {
      var li = el('li');
      var kids = n.c && n.c.length;
      if (kids) {
        var tw = el('button', { type: 'button', 'class': 'tb-twisty', 'aria-label': '開く/閉じる' }, '▸');
        tw.addEventListener('click', function () {
          var closed = li.classList.toggle('tb-closed');
          tw.textContent = closed ? '▸' : '▾';
        });
        li.appendChild(tw);
      } else {
        li.appendChild(el('span', { 'class': 'tb-leaf' }));
      }
      if (n.u) {
        var a = el('a', { href: n.x ? n.u : root + n.u }, n.t);
        if (n.x) { a.className = 'tb-external'; a.target = '_blank'; a.rel = 'noopener'; }
        li.appendChild(a);
        if (!n.x && safeDecode(n.u.split('#')[0]) === herePath) { li.classList.add('tb-current'); holdsCurrent = true; }
      } else {
        li.appendChild(el('span', { 'class': 'tb-label' }, n.t));
      }
      var open = false;
      if (kids) open = addNodes(li, n.c);
      if (kids) {
        if (!open) li.classList.add('tb-closed');
        li.firstChild.textContent = open ? '▾' : '▸';
      }
      holdsCurrent = holdsCurrent || open;
      ul.appendChild(li);
    });
    list.appendChild(ul);
    return holdsCurrent;
  }
  addNodes(side, site.nodes);

  toggle.addEventListener('click', function () {
    var h = document.documentElement;
    if (window.matchMedia('(max-width: 700px)').matches) h.classList.toggle('tb-side-open');
    else h.classList.toggle('tb-side-closed');
  });

  function install() {
    document.documentElement.classList.add('tb-site');
    document.body.insertBefore(side, document.body.firstChild);
    document.body.insertBefore(header, document.body.firstChild);
    var current = side.querySelector('.tb-current');
    if (current && current.scrollIntoView) current.scrollIntoView({ block: 'nearest' });
    var q = new URLSearchParams(location.search).get('q');
    if (q) box.value = q;
    var results = document.getElementById('tb-search-results');
    if (results) showResults(results, q || '');
  }

  // Text pop-overs: the link shows its text beside it until the next click.
  document.addEventListener('click', function (ev) {
    var link = ev.target.closest ? ev.target.closest('.tb-popup-link') : null;
    var open = document.querySelectorAll('.tb-popup.tb-open');
    for (var i = 0; i < open.length; i++) if (!link || open[i].id !== link.getAttribute('data-popup')) open[i].classList.remove('tb-open');
    if (!link) return;
    ev.preventDefault();
    var pop = document.getElementById(link.getAttribute('data-popup'));
    if (!pop) return;
    pop.classList.toggle('tb-open');
    var r = link.getBoundingClientRect();
    pop.style.left = (r.left + window.scrollX) + 'px';
    pop.style.top = (r.bottom + window.scrollY + 4) + 'px';
    if (pop.parentNode !== document.body) document.body.appendChild(pop);
  });

  // Search: the same folding as the exporter, bigrams to narrow, the page text to confirm.
  function fold(s) {
    var out = '';
    for (var i = 0; i < s.length; i++) {
      var c = s.charCodeAt(i);
      if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
      if ((c >= 65 && c <= 90) || (c >= 0xC0 && c <= 0xDE && c !== 0xD7) ||
          (c >= 0x391 && c <= 0x3A9 && c !== 0x3A2) || (c >= 0x410 && c <= 0x42F)) c += 32;
      else if (c >= 0x400 && c <= 0x40F) c += 80;
      out += String.fromCharCode(c);
    }
    return out.replace(/[\s\u3000\u00a0]+/g, ' ').trim();
  }
  function count(text, term) {
    var n = 0, at = text.indexOf(term);
    while (at >= 0) { n++; at = text.indexOf(term, at + term.length); }
    return n;
  }
  function search(query) {
    var idx = window.TARNBOOK_SEARCH;
    var terms = fold(query).split(' ').filter(function (t) { return t; });
    if (!idx || !terms.length) return [];
    var cand = null;
    terms.forEach(function (t) {
      var cs = Array.from(t);
      for (var i = 0; i + 1 < cs.length; i++) {
        var list = idx.grams[cs[i] + cs[i + 1]] || [];
        cand = cand === null ? list.slice() : cand.filter(function (p) { return list.indexOf(p) >= 0; });
      }
    });
    if (cand === null) cand = idx.pages.map(function (_, i) { return i; });
    var hits = [];
    cand.forEach(function (p) {
      var score = 0;
      for (var k = 0; k < terms.length; k++) {
        var n = count(idx.text[p], terms[k]);
        if (!n) return;
        score += n;
      }
      hits.push({ page: p, score: score });
    });
    hits.sort(function (a, b) { return b.score - a.score || a.page - b.page; });
    return hits.map(function (h) { return { page: idx.pages[h.page], text: idx.text[h.page], term: terms[0] }; });
  }
  function showResults(target, query) {
    target.textContent = '';
    if (!query) return;
    var hits = search(query);
    target.appendChild(el('p', { id: 'tb-search-count' }, '「' + query + '」: ' + hits.length + ' 件'));
    hits.forEach(function (h) {
      var div = el('div', { 'class': 'tb-result' });
      div.appendChild(el('a', { href: root + h.page.u }, h.page.t || h.page.u));
      var at = h.text.indexOf(h.term);
      var from = Math.max(0, at - 40);
      var p = el('p');
      p.appendChild(document.createTextNode((from > 0 ? '…' : '') + h.text.substring(from, at)));
      p.appendChild(el('mark', {}, h.text.substr(at, h.term.length)));
      p.appendChild(document.createTextNode(h.text.substr(at + h.term.length, 80) + '…'));
      div.appendChild(p);
      target.appendChild(div);
    });
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', install);
  else install();
})();
)JS";
}

}  // namespace tarnbook::webexport

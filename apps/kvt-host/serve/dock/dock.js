// The dock's receiving page. What the clerk does is queued in localStorage
// and sent in order; while the server does not answer, the queue waits
// and is sent when it does, so a dropped network loses nothing. A post
// and every scan carry an idempotency key made once, so however often one
// is sent (its answer lost on the way) it counts once.
"use strict";
const $ = (id) => document.getElementById(id);
const store = {
  get(name, fallback) { try { const v = localStorage.getItem("dock." + name); return v === null ? fallback : JSON.parse(v); } catch { return fallback; } },
  set(name, value) { localStorage.setItem("dock." + name, JSON.stringify(value)); },
  drop(name) { localStorage.removeItem("dock." + name); },
};
let sending = false;

function show(view) {
  for (const v of ["login-view", "pick-view", "receive-view", "done-view"]) $(v).hidden = v !== view;
}
function say(text, ok) { $("message").textContent = text || ""; $("message").className = ok ? "ok" : ""; }
function online(yes) { $("net").textContent = yes ? "" : "offline: kept on this phone"; $("net").className = yes ? "net" : "net offline"; }

class Offline extends Error {}
async function api(method, path, body, headers) {
  let response;
  try {
    response = await fetch(path, {
      method, body: body === undefined ? undefined : JSON.stringify(body),
      headers: Object.assign({ "Content-Type": "application/json", "Authorization": "Bearer " + store.get("token", "") }, headers || {}),
    });
  } catch (e) { online(false); throw new Offline(); }
  if (response.status >= 500 && response.status !== 501) { online(false); throw new Offline(); }
  online(true);
  const answer = await response.json().catch(() => ({}));
  if (response.status === 401 && path !== "/api/login") { store.drop("token"); show("login-view"); }
  if (!response.ok) { const e = new Error((answer.error && answer.error.message) || "Refused"); e.status = response.status; throw e; }
  return answer;
}

async function logIn() {
  try {
    const answer = await api("POST", "/api/login", { user: $("user").value, password: $("password").value });
    store.set("token", answer.token); store.set("user", answer.user); $("password").value = "";
    say(""); await start();
  } catch (e) { say(e instanceof Offline ? "The server does not answer; try again." : e.message); }
}

async function loadSuppliers() {
  const suppliers = await api("GET", "/api/suppliers");
  $("supplier").innerHTML = suppliers.map((s) => `<option value="${s.id}">${escape(s.name)}</option>`).join("");
  await loadOrders();
}
async function loadOrders() {
  const orders = await api("GET", `/api/suppliers/${$("supplier").value}/outstanding-orders`);
  $("order").innerHTML = orders.map((o) => `<option value="${o.id}">${escape(o.number)} (${o.outstanding_lines} lines to come)</option>`).join("");
}
function escape(text) { return String(text ?? "").replace(/[&<>"']/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&#39;" })[c]); }

async function openOrder(supplierId, orderId) {
  try {
    const draft = await api("POST", "/api/voucher-drafts", { supplier_id: supplierId, source_id: orderId });
    store.set("draft", draft); store.set("queue", []); render(draft); show("receive-view"); $("code").focus();
  } catch (e) { say(e instanceof Offline ? "The server does not answer; try again." : e.message); }
}
async function findOrder() {
  try {
    const found = await api("GET", "/api/outstanding-orders?number=" + encodeURIComponent($("order-number").value.trim()));
    await openOrder(found.supplier_id, found.order_id);
  } catch (e) { say(e instanceof Offline ? "The server does not answer; try again." : e.message); }
}

function render(draft) {
  $("order-title").textContent = `Order ${draft.source}`;
  const here = {};
  for (const line of draft.lines) here[line.source_line_id] = line.qty;
  $("lines").tBodies[0].innerHTML = draft.source_lines.map((l) =>
    `<tr class="${l.still_to_come <= 0 ? "done" : ""}"><td>${escape(l.code)}<small>${escape(l.product)}</small></td>` +
    `<td class="n">${here[l.source_line_id] ?? 0}</td><td class="n">${l.still_to_come}</td>` +
    `<td>${here[l.source_line_id] ? `<button data-line="${l.source_line_id}">Fix</button>` : ""}</td></tr>`).join("");
  if (document.activeElement !== $("del-note")) $("del-note").value = store.get("note", draft.delivery_note || "");
  const pending = store.get("queue", []).length;
  $("pending").hidden = pending === 0;
  $("pending").textContent = `${pending} not sent yet: kept on this phone, sent when the server answers.`;
}

function newKey() { return (crypto.randomUUID && crypto.randomUUID()) || String(Date.now()) + Math.random(); }
function enqueue(op) {
  op.key = op.key || newKey();
  say("");
  const queue = store.get("queue", []); queue.push(op); store.set("queue", queue);
  render(store.get("draft")); flush();
}
// Sends the queue in order; stops at the first that finds no server and
// tries again later. A refusal drops that one and says why.
async function flush() {
  if (sending) return;
  sending = true;
  try {
    for (;;) {
      const queue = store.get("queue", []);
      if (queue.length === 0) break;
      const op = queue[0];
      const draft = store.get("draft");
      try {
        if (op.kind === "scan") {
          store.set("draft", await api("POST", `/api/voucher-drafts/${draft.id}/scans`, op.qty ? { code: op.code, qty: op.qty } : { code: op.code }, { "Idempotency-Key": op.key }));
          say(`${op.code}: +${op.qty || 1}`, true);
        } else if (op.kind === "fix") {
          store.set("draft", await api("PUT", `/api/voucher-drafts/${draft.id}/lines/${op.line}`, { qty: op.qty }, { "Idempotency-Key": op.key }));
        } else if (op.kind === "post") {
          await api("PUT", `/api/voucher-drafts/${draft.id}`, { delivery_note: op.note });
          const posted = await api("POST", `/api/voucher-drafts/${draft.id}/post`, op.document ? { supplier_document: op.document } : {}, { "Idempotency-Key": op.key });
          store.set("queue", []); store.drop("draft"); store.drop("note");
          showPosted(posted); break;
        }
      } catch (e) {
        if (e instanceof Offline) { setTimeout(flush, 3000); break; }
        // A token refused (expired, or the server restarted) keeps the
        // queue for after the clerk logs in again.
        if (e.status === 401) break;
        say(e.message);
        if (e.status === 404 && op.kind !== "post") { store.set("queue", []); break; }
      }
      const rest = store.get("queue", []); rest.shift(); store.set("queue", rest);
      if (store.get("draft")) render(store.get("draft"));
    }
  } finally { sending = false; }
}

function showPosted(posted) {
  $("voucher-number").textContent = posted.voucher_number;
  $("voucher-total").textContent = `Total ${posted.total}`;
  say("");
  store.set("last-pdf", posted.pdf);
  $("voucher-pdf").href = "#";
  show("done-view");
}
async function openPdf(event) {
  event.preventDefault();
  const response = await fetch(store.get("last-pdf"), { headers: { Authorization: "Bearer " + store.get("token", "") } });
  if (!response.ok) { say("The PDF could not be fetched."); return; }
  const url = URL.createObjectURL(await response.blob());
  window.open(url, "_blank");
}

function scan() {
  const code = $("code").value.trim();
  if (!code) return;
  const qty = parseFloat($("qty").value);
  enqueue({ kind: "scan", code, qty: qty > 0 ? qty : undefined });
  $("code").value = ""; $("qty").value = ""; $("code").focus();
}
function fix(line) {
  const typed = prompt("How many came?");
  const qty = parseFloat(typed);
  if (!(qty > 0)) return;
  enqueue({ kind: "fix", line: Number(line), qty });
}
function post() {
  if (store.get("queue", []).some((op) => op.kind === "post")) return;  // one post only
  enqueue({ kind: "post", note: $("del-note").value.trim(), document: $("document").value.trim() });
  say("Posting…", true);
}

async function start() {
  if (!store.get("token", "")) { show("login-view"); return; }
  $("who").textContent = store.get("user", "");
  const draft = store.get("draft");
  if (draft) { render(draft); show("receive-view"); flush(); return; }
  show("pick-view");
  try { await loadSuppliers(); } catch (e) { if (!(e instanceof Offline)) say(e.message); else say("The server does not answer."); }
}

$("login").onclick = logIn;
$("password").onkeydown = (e) => { if (e.key === "Enter") logIn(); };
$("supplier").onchange = () => loadOrders().catch((e) => say(e.message));
$("open-order").onclick = () => openOrder(Number($("supplier").value), Number($("order").value));
$("find-order").onclick = findOrder;
$("order-number").onkeydown = (e) => { if (e.key === "Enter") findOrder(); };
$("add").onclick = scan;
$("code").onkeydown = (e) => { if (e.key === "Enter") scan(); };
$("lines").onclick = (e) => { if (e.target.dataset.line) fix(e.target.dataset.line); };
$("del-note").oninput = () => store.set("note", $("del-note").value);
$("post").onclick = post;
$("drop").onclick = () => { store.drop("draft"); store.set("queue", []); start(); };
$("next").onclick = () => { say(""); start(); };
$("voucher-pdf").onclick = openPdf;
window.addEventListener("online", flush);
start();

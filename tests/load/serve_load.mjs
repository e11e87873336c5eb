// Load on the API: CLIENTS clerks (each its own login) receive at once
// against the twenty seeded orders for SECONDS: a voucher started, two or
// three scans, posted under an idempotency key. Prints the request and
// receipt latencies (p50, p99), the counts, and then the books check and
// whether the orders received exactly what the clerks were told was posted.
// Environment: BASE, LOAD_USER, LOAD_PASSWORD, CLIENTS (50), SECONDS (30).
const { BASE, LOAD_USER, LOAD_PASSWORD } = process.env;
const CLIENTS = Number(process.env.CLIENTS || 50);
const SECONDS = Number(process.env.SECONDS || 30);
const ORDERS = Array.from({ length: 20 }, (_, i) => 5001 + i);
const CODES = ["BLT-M10", "NUT-M10", "WSH-M10", "ANC-12", "PNT-WHT5"];

const requestTimes = [];
const receiptTimes = [];
const counts = { posted: 0, refused: 0, failed: 0, requests: 0 };
const received = {};  // "order/code" -> qty the clerks saw posted

async function call(token, method, path, body, headers = {}) {
  const started = performance.now();
  counts.requests++;
  const response = await fetch(BASE + path, {
    method, body: body === undefined ? undefined : JSON.stringify(body),
    headers: { Authorization: "Bearer " + token, "Content-Type": "application/json", ...headers },
  });
  const answer = await response.json().catch(() => ({}));
  requestTimes.push(performance.now() - started);
  return { status: response.status, answer };
}

async function clerk(index, until) {
  const login = await fetch(BASE + "/api/login", { method: "POST", body: JSON.stringify({ user: LOAD_USER, password: LOAD_PASSWORD }) });
  const { token } = await login.json();
  let n = 0;
  while (performance.now() < until) {
    const started = performance.now();
    const order = ORDERS[(index * 7 + n++) % ORDERS.length];
    try {
      const draft = await call(token, "POST", "/api/voucher-drafts", { supplier_id: 1, source_id: order, delivery_note: `LD-${index}-${n}` });
      if (draft.status !== 201) { counts.failed++; if (counts.failed < 5) console.log(`start answered ${draft.status}: ${JSON.stringify(draft.answer)}`); continue; }
      const id = draft.answer.id;
      const scanned = {};
      for (let s = 0; s < 2 + (n % 2); s++) {
        const code = CODES[(index + n + s * 2) % CODES.length];
        const scan = await call(token, "POST", `/api/voucher-drafts/${id}/scans`, { code, qty: 1 + (s % 3) }, { "Idempotency-Key": `${index}-${n}-${s}` });
        if (scan.status === 200) scanned[code] = (scanned[code] || 0) + 1 + (s % 3);
      }
      const post = await call(token, "POST", `/api/voucher-drafts/${id}/post`, {}, { "Idempotency-Key": `post-${index}-${n}` });
      if (post.status === 201) {
        counts.posted++;
        for (const [code, qty] of Object.entries(scanned)) received[`${order}/${code}`] = (received[`${order}/${code}`] || 0) + qty;
        receiptTimes.push(performance.now() - started);
      } else if (post.status === 409) {
        counts.refused++;
        await call(token, "DELETE", `/api/voucher-drafts/${id}`);
      } else {
        counts.failed++;
        if (counts.failed < 5) console.log(`post answered ${post.status}: ${JSON.stringify(post.answer)}`);
      }
    } catch (error) {
      counts.failed++;
      if (counts.failed < 5) console.log("request failed: " + error.message);
    }
  }
}

const percentile = (values, p) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted.length ? sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * p))].toFixed(1) : "-";
};

const until = performance.now() + SECONDS * 1000;
await Promise.all(Array.from({ length: CLIENTS }, (_, i) => clerk(i, until)));
console.log(`${CLIENTS} clients for ${SECONDS} s: ${counts.requests} requests, ${counts.posted} receipts posted ` +
            `(${(counts.posted / SECONDS).toFixed(1)}/s), ${counts.refused} refused, ${counts.failed} failed`);
console.log(`request latency ms: p50 ${percentile(requestTimes, 0.5)}, p99 ${percentile(requestTimes, 0.99)}`);
console.log(`receipt latency ms (start, scans, post): p50 ${percentile(receiptTimes, 0.5)}, p99 ${percentile(receiptTimes, 0.99)}`);

// Afterwards: the books, and what the orders say they received.
const login = await (await fetch(BASE + "/api/login", { method: "POST", body: JSON.stringify({ user: LOAD_USER, password: LOAD_PASSWORD }) })).json();
const get = async (path) => (await fetch(BASE + path, { headers: { Authorization: "Bearer " + login.token } })).json();
const books = await get("/api/books-check");
console.log(`books check: ${books.holds ? "holds" : "BREACHED: " + books.breaches.slice(0, 5).join("; ")}`);
let mismatches = 0;
for (const order of ORDERS) {
  const detail = await get(`/api/orders/${order}`);
  for (const line of detail.lines) {
    if ((received[`${order}/${line.code}`] || 0) !== line.received) mismatches++;
  }
}
console.log(`order lines received exactly what was posted: ${mismatches === 0 ? "yes" : mismatches + " differ"}`);
process.exit(books.holds && mismatches === 0 && counts.failed === 0 ? 0 : 1);

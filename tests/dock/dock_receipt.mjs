// Drives the dock page in headless Chromium through a whole receipt at
// phone size: log in, open the order by its number, scan (once, a barcode, and with a
// typed quantity), have its token refused and log in again, lose the network for a scan, fix a quantity, post twice
// in a row, fetch the PDF; then checks through the API that the order is
// received, the voucher posted once and the books hold. Screenshots go to
// SHOTS. Environment: BASE (http://127.0.0.1:PORT), DOCK_USER, DOCK_PASSWORD,
// SHOTS, NODE_PATH for puppeteer-core.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { createRequire } from "node:module";

const require = createRequire(process.env.NODE_PATH + "/");
const puppeteer = require("puppeteer-core");
const { BASE, DOCK_USER, DOCK_PASSWORD, SHOTS, SHOT_PREFIX = "" } = process.env;
const failures = [];
const check = (ok, what) => { console.log(`${ok ? "ok  " : "FAIL"} ${what}`); if (!ok) failures.push(what); };

const profile = mkdtempSync(join(tmpdir(), "kvt-dock-chromium-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
const deadline = setTimeout(() => { console.log("FAIL the run took over 120 s"); process.exit(1); }, 120000);
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true });
  page.on("dialog", (dialog) => dialog.accept("6"));
  const shot = (name) => page.screenshot({ path: join(SHOTS, `${SHOT_PREFIX}${name}.png`), fullPage: true });
  const visible = (id) => page.waitForSelector(`#${id}:not([hidden])`, { timeout: 15000 });
  const cell = (code, column) => page.$eval("#lines tbody", (body, code, column) => {
    for (const row of body.rows) if (row.cells[0].firstChild.textContent === code) return row.cells[column].textContent;
    return null;
  }, code, column);
  const waitCell = (code, column, value) => page.waitForFunction((code, column, value) => {
    for (const row of document.querySelectorAll("#lines tbody tr")) {
      if (row.cells[0].firstChild.textContent === code) return row.cells[column].textContent === value;
    }
    return false;
  }, { timeout: 15000 }, code, column, value);

  await page.goto(BASE + "/", { waitUntil: "networkidle0" });
  await visible("login-view");
  await page.type("#user", DOCK_USER);
  await page.type("#password", DOCK_PASSWORD);
  await shot("1-login");
  await page.click("#login");
  await visible("pick-view");
  await page.waitForFunction(() => document.querySelectorAll("#order option").length > 0);
  await shot("2-pick");

  await page.type("#order-number", "po000101");
  await page.click("#find-order");
  await visible("receive-view");
  check(await page.$eval("#order-title", (e) => e.textContent) === "Order PO000101", "the order opened by its number");
  await shot("3-order");

  await page.type("#code", "NUT-M10"); await page.keyboard.press("Enter");
  await waitCell("NUT-M10", 1, "1");
  await page.type("#qty", "4"); await page.type("#code", "nut-m10"); await page.click("#add");
  await waitCell("NUT-M10", 1, "5");
  check(await cell("NUT-M10", 2) === "15", "NUT-M10: 5 here, 15 still to come");
  await page.type("#code", "6001230044011"); await page.keyboard.press("Enter");  // BLT-M10's barcode
  await waitCell("BLT-M10", 1, "1");
  check(true, "a barcode scanned adds its product");
  await page.type("#code", "BLT-M10"); await page.type("#qty", "9"); await page.click("#add");
  await page.waitForFunction(() => document.getElementById("message").textContent.startsWith("Only 3 of BLT-M10"));
  check(true, "an over-receipt refused in the session's words");
  await shot("4-scanned");

  // The page's token refused, as after a restart of the server: the scan
  // made then waits, the clerk logs in again, and the page takes up the
  // kept voucher and sends the scan.
  await page.evaluate(() => fetch("/api/logout", { method: "POST", headers: { Authorization: "Bearer " + JSON.parse(localStorage.getItem("dock.token")) } }));
  await page.type("#code", "BLT-M10"); await page.keyboard.press("Enter");
  await visible("login-view");
  await page.$eval("#user", (e) => { e.value = ""; });
  await page.type("#user", DOCK_USER); await page.type("#password", DOCK_PASSWORD); await page.click("#login");
  await visible("receive-view");
  await waitCell("BLT-M10", 1, "2");
  check(true, "logged in again, the page took up the kept voucher and sent the scan made meanwhile");

  await page.setOfflineMode(true);
  await page.type("#code", "BLT-M10"); await page.type("#qty", "1"); await page.click("#add");
  await visible("pending");
  check(await page.$eval("#net", (e) => e.textContent) !== "", "offline is shown");
  await shot("5-offline");
  await page.reload({ waitUntil: "domcontentloaded" }).catch(() => {});  // even a reload keeps the scan
  await page.setOfflineMode(false);
  await page.reload({ waitUntil: "networkidle0" });
  await waitCell("BLT-M10", 1, "3");
  check(true, "the scan kept while offline was sent when the server answered");

  await page.$$eval("#lines button", (buttons) => buttons.find((b) => b.closest("tr").cells[0].firstChild.textContent === "NUT-M10").click());
  await waitCell("NUT-M10", 1, "6");
  check(true, "a quantity fixed to 6");
  await page.type("#del-note", "DN-DOCK-1");
  await page.type("#document", "INV-DOCK-" + Date.now() % 100000);
  await shot("6-ready");
  await page.click("#post"); await page.click("#post");
  await visible("done-view");
  const number = await page.$eval("#voucher-number", (e) => e.textContent);
  check(/^GRV\d{6}$/.test(number), `posted as ${number}`);
  await shot("7-posted");
  const pdf = await page.evaluate(async () => {
    const answer = await fetch(JSON.parse(localStorage.getItem("dock.last-pdf")), { headers: { Authorization: "Bearer " + JSON.parse(localStorage.getItem("dock.token")) } });
    const bytes = new Uint8Array(await answer.arrayBuffer());
    return String.fromCharCode(...bytes.slice(0, 5));
  });
  check(pdf === "%PDF-", "the voucher's PDF downloads");

  // Seen from outside the page: the order, the audit trail, the books.
  const login = await (await fetch(BASE + "/api/login", { method: "POST", body: JSON.stringify({ user: DOCK_USER, password: DOCK_PASSWORD }) })).json();
  const get = async (path) => (await fetch(BASE + path, { headers: { Authorization: "Bearer " + login.token } })).json();
  const order = await get("/api/orders/1");
  const received = Object.fromEntries(order.lines.map((l) => [l.code, l.received]));
  check(received["NUT-M10"] === 6 && received["BLT-M10"] === 15, `the order received 6 NUT-M10 and the last 3 BLT-M10 (${JSON.stringify(received)})`);
  const trail = await get("/api/audit?document=" + encodeURIComponent("voucher " + number));
  check(trail.length === 1 && trail[0].action === "voucher posted", "posted once, audited once");
  const books = await get("/api/books-check");
  check(books.holds === true, "the books check holds" + (books.holds ? "" : ": " + books.breaches.join("; ")));
} catch (error) {
  check(false, "the page went through the receipt: " + error.message);
  const page = (await browser.pages()).at(-1);
  if (page) {
    console.log("page says: " + await page.$eval("#message", (e) => e.textContent).catch(() => "?"));
    await page.screenshot({ path: join(SHOTS, `${SHOT_PREFIX}failed.png`), fullPage: true }).catch(() => {});
  }
} finally {
  clearTimeout(deadline);
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failures.length === 0 ? 0 : 1);

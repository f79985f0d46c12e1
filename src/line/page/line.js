"use strict";
// The line page: asks the service for its stations and last results every
// second and redraws. Every text from a station goes in as text, never as markup.

const kPollMs = 1000;

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}

function time(ms) {
  return ms ? new Date(ms).toLocaleTimeString() : "—";
}

function percent(fraction) {
  return fraction === null || fraction === undefined ? "—" : Math.round(fraction * 100) + "%";
}

function fact(parent, name, value, className) {
  parent.append(element("span", "", name), element("span", className || "", value));
}

function portCell(port) {
  const classes = ["port", port.last_result || ""];
  if (port.flag) classes.push("flagged");
  const cell = element("div", classes.join(" "));
  cell.dataset.port = port.port;
  cell.append(element("span", "number", "Port " + port.port), document.createElement("br"));
  cell.append(element("span", "last", port.last_result || "—"), " · " + percent(port.yield20));
  if (port.flag) cell.title = port.flag;
  else if (port.last_fail_text) cell.title = port.last_fail_text;
  if (port.flag) cell.append(document.createElement("br"), element("span", "flag", port.flag));
  return cell;
}

function stationTile(station) {
  const tile = element("div", "station");
  tile.dataset.station = station.station;
  tile.append(element("h3", "", station.station));
  const facts = element("div", "facts");
  fact(facts, "Last seen", time(station.last_seen_ms));
  fact(facts, "Mode", station.mode || "—");
  fact(facts, "Phones today", station.phones_today);
  fact(facts, "Yield today", station.phones_today ? percent(station.passed_today / station.phones_today) : "—");
  fact(facts, "Waiting", station.waiting);
  fact(facts, "Last sequence", station.last_sequence);
  if (station.missing) fact(facts, "Missing", station.missing, "missing");
  tile.append(facts);
  const ports = element("div", "ports");
  for (const port of station.ports) ports.append(portCell(port));
  tile.append(ports);
  return tile;
}

function resultRow(result) {
  const row = element("tr");
  row.dataset.uuid = result.uuid;
  const hashes = (result.sha256 || []).map((h) => (h ? h.slice(0, 8) : "—")).join(" ");
  row.append(element("td", "", time(result.received_ms)), element("td", "", result.station),
             element("td", "", result.device), element("td", result.result, result.result),
             element("td", "", result.fail_text || ""), element("td", "hashes", hashes),
             element("td", "", (result.ms / 1000).toFixed(1) + " s"));
  return row;
}

async function fetchJson(path) {
  const response = await fetch(path, { cache: "no-store" });
  if (!response.ok) throw new Error(path + ": HTTP " + response.status);
  return response.json();
}

async function refresh() {
  const status = document.getElementById("status");
  try {
    const [stations, results] = await Promise.all([fetchJson("api/stations"), fetchJson("api/results?limit=100")]);
    document.getElementById("stations").replaceChildren(...stations.map(stationTile));
    document.querySelector("#results tbody").replaceChildren(...results.map(resultRow));
    status.className = "";
    status.textContent = "updated " + new Date().toLocaleTimeString();
  } catch (error) {
    status.className = "down";
    status.textContent = "the line service is not answering (" + error.message + ")";
  } finally {
    setTimeout(refresh, kPollMs);
  }
}

refresh();

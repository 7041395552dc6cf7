// The market board page and its state document.
#include "Board.h"

#include "JsonText.h"

namespace kelo::serve {

std::string_view BoardPage() {
  static constexpr std::string_view kPage = R"PAGE(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>KeloChart market board</title>
<style>
  :root { color-scheme: dark; }
  body { margin: 0; font: 13px/1.4 "DejaVu Sans", sans-serif; background: #111; color: #ddd; }
  header { padding: 8px 14px; display: flex; gap: 18px; align-items: baseline; border-bottom: 1px solid #333; }
  header h1 { font-size: 16px; margin: 0; font-weight: 600; }
  header .status { color: #888; }
  main { display: grid; grid-template-columns: repeat(auto-fill, 400px); gap: 10px; padding: 10px; justify-content: center; }
  figure { margin: 0; background: #000; }
  figure a { display: block; width: 400px; height: 300px; }
  figure img { display: block; width: 400px; height: 300px; }
  figcaption { padding: 2px 6px; color: #aaa; }
</style>
</head>
<body>
<header><h1>Market board</h1><span class="status" id="status">loading</span></header>
<main id="board"></main>
<script>
"use strict";
// Thumbnails refresh when their instrument's file changes: /state is polled every second
// with If-None-Match (a 304 costs nothing) and each changed version loads a new picture.
// The page's own query chooses the kind; every other parameter (theme, category, session,
// ...) goes to each chart, so one board serves one market: /?kind=ratio&category=FITX.
const params = new URLSearchParams(location.search);
const kind = params.get("kind") || "intraday";
params.delete("kind");
params.delete("size");
const options = params.toString();
const board = document.getElementById("board");
const status = document.getElementById("status");
const tiles = new Map();
let etag = null;

function chartUrl(symbol, size, version) {
  return "/chart/" + encodeURIComponent(kind) + "/" + encodeURIComponent(symbol) + ".png?size=" + size +
         (options ? "&" + options : "") + (version ? "&v=" + encodeURIComponent(version) : "");
}

function addTile(symbol) {
  const figure = document.createElement("figure");
  const link = document.createElement("a");
  link.href = chartUrl(symbol, "1200x800", "");
  const img = document.createElement("img");
  img.alt = symbol;
  img.loading = "lazy";
  img.dataset.symbol = symbol;
  link.append(img);
  const caption = document.createElement("figcaption");
  caption.textContent = symbol;
  figure.append(link, caption);
  board.append(figure);
  const tile = { figure, img, version: null };
  tiles.set(symbol, tile);
  return tile;
}

function show(tile, symbol, version) {
  tile.version = version;
  const url = chartUrl(symbol, "400x300", version);
  if (!tile.img.complete || tile.img.naturalWidth === 0) {
    tile.img.src = url;
    return;
  }
  // Swap only once the new picture has arrived, so a tile never flashes empty.
  const next = new Image();
  next.onload = () => { if (tile.version === version) tile.img.src = url; };
  next.src = url;
}

function update(state) {
  const seen = new Set();
  for (const [symbol, version] of state.symbols) {
    seen.add(symbol);
    const tile = tiles.get(symbol) || addTile(symbol);
    if (tile.version !== version) show(tile, symbol, version);
  }
  for (const [symbol, tile] of tiles) {
    if (!seen.has(symbol)) { tile.figure.remove(); tiles.delete(symbol); }
  }
  status.textContent = tiles.size + " instruments, " + kind + ", updated " + new Date().toLocaleTimeString();
}

async function poll() {
  try {
    const response = await fetch("/state", { cache: "no-store", headers: etag ? { "If-None-Match": etag } : {} });
    if (response.status === 200) {
      etag = response.headers.get("ETag");
      update(await response.json());
    }
  } catch (e) {
    status.textContent = "service unreachable, retrying";
  }
  setTimeout(poll, 1000);
}
poll();
</script>
</body>
</html>
)PAGE";
  return kPage;
}

std::string BoardState(const std::vector<std::pair<std::string, std::string>>& versions) {
  std::string out = "{\"symbols\": [";
  for (std::size_t i = 0; i < versions.size(); ++i) {
    out += (i ? ", [" : "[") + JsonString(versions[i].first) + ", " + JsonString(versions[i].second) + "]";
  }
  return out + "]}\n";
}

}  // namespace kelo::serve

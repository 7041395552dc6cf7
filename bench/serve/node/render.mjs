// The Node alternative: an intraday chart (price line over volume bars, 400x300) of each CSV
// of a folder, drawn by ECharts' server-side SVG renderer and rasterised to PNG by resvg, on
// one thread (one core). Prints charts per second for SVG alone and for SVG + PNG.
//   node render.mjs DIR [COUNT]
import fs from "node:fs";
import path from "node:path";
import * as echarts from "echarts";
import { Resvg } from "@resvg/resvg-js";

const dir = process.argv[2];
const count = Number(process.argv[3] || 300);
const files = fs.readdirSync(dir).filter((f) => f.endsWith(".csv")).sort().slice(0, count);

function bars(file) {
  const lines = fs.readFileSync(path.join(dir, file), "utf8").trim().split("\n");
  const header = lines[0].split(",");
  const at = (name) => header.indexOf(name);
  return lines.slice(1).map((l) => {
    const f = l.split(",");
    return { time: f[at("time")], close: Number(f[at("close")]), volume: Number(f[at("volume")]) };
  });
}

function svgOf(file) {
  const data = bars(file);
  const chart = echarts.init(null, null, { renderer: "svg", ssr: true, width: 400, height: 300 });
  chart.setOption({
    animation: false,
    backgroundColor: "#000",
    title: { text: path.basename(file, ".csv"), textStyle: { color: "#ccc", fontSize: 12 } },
    grid: [{ left: 40, right: 10, top: 24, height: 170 }, { left: 40, right: 10, top: 210, height: 60 }],
    xAxis: [{ type: "category", data: data.map((b) => b.time), gridIndex: 0 },
            { type: "category", data: data.map((b) => b.time), gridIndex: 1 }],
    yAxis: [{ type: "value", scale: true, gridIndex: 0 }, { type: "value", gridIndex: 1 }],
    series: [{ type: "line", data: data.map((b) => b.close), showSymbol: false, xAxisIndex: 0, yAxisIndex: 0 },
             { type: "bar", data: data.map((b) => b.volume), xAxisIndex: 1, yAxisIndex: 1 }],
  });
  const svg = chart.renderToSVGString();
  chart.dispose();
  return svg;
}

// resvg would scan every system font for each picture; a server loads one font file instead.
const resvgOptions = {
  font: { loadSystemFonts: false, fontFiles: ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"], defaultFontFamily: "DejaVu Sans" },
};
const png = (svg) => new Resvg(svg, resvgOptions).render().asPng();
for (let i = 0; i < 20; ++i) png(svgOf(files[i % files.length]));  // warm up the JIT
// CPU seconds (user + system) as well as wall seconds: the machine is shared, and the CPU
// time is what the sharing affects least.
const cpu = () => { const u = process.cpuUsage(); return (u.user + u.system) / 1e6; };
let start = process.hrtime.bigint();
let cpuStart = cpu();
for (const f of files) svgOf(f);
const svgSeconds = Number(process.hrtime.bigint() - start) / 1e9;
const svgCpu = cpu() - cpuStart;
start = process.hrtime.bigint();
cpuStart = cpu();
let bytes = 0;
for (const f of files) bytes += png(svgOf(f)).length;
const pngSeconds = Number(process.hrtime.bigint() - start) / 1e9;
const pngCpu = cpu() - cpuStart;
fs.writeFileSync("/tmp/echarts-sample.png", png(svgOf(files[0])));
console.log(`node ${process.version}: ${files.length} charts at 400x300 on one thread`);
console.log(`  SVG (echarts SSR):     ${(files.length / svgSeconds).toFixed(1)} charts/s wall, ${(files.length / svgCpu).toFixed(1)} per CPU second`);
console.log(`  PNG (echarts + resvg): ${(files.length / pngSeconds).toFixed(1)} charts/s wall, ${(files.length / pngCpu).toFixed(1)} per CPU second, ${(bytes / files.length / 1024).toFixed(1)} KiB each`);

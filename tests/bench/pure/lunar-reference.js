// The independent side of the lunar benchmarks: an astronomical calendar library from the npm registry (installed
// under .deps/ by tools/setup) converts every day of 1902-2099 as the engine does, timed in this process.
// Usage: node lunar-reference.js [result-file]; prints, or writes to the file (renamed into place when complete),
// "days <n> info <ns per day> texts <ns per day>".
'use strict';
const fs = require('fs');
const path = require('path');

const { Solar } = require(path.resolve(__dirname, '../../../.deps/lunar-npm/node_modules/lunar-javascript'));

const dayMs = 86400000;
const days = [];
for (let t = Date.UTC(1902, 0, 1); t <= Date.UTC(2099, 11, 31); t += dayMs) {
    const d = new Date(t);
    days.push([d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate(), days.length % 24]);
}

// Lunar month, day and leap flag with the stems and branches of year, month, day and hour: ComputeLunarInfo's work.
function info([y, m, d, h]) {
    const lunar = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar();
    return lunar.getMonth() + lunar.getDay() + lunar.getYearGanIndexByLiChun() + lunar.getMonthGanIndexExact() +
        lunar.getDayGanIndex() + lunar.getTimeZhiIndex();
}

// The lunar date text and the eight characters: the exported create, two texts and release.
function texts([y, m, d, h]) {
    const lunar = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar();
    const date = lunar.getMonthInChinese() + '月' + lunar.getDayInChinese();
    const eight = lunar.getYearInGanZhiByLiChun() + '年' + lunar.getMonthInGanZhiExact() + '月' +
        lunar.getDayInGanZhi() + '日' + lunar.getTimeInGanZhi() + '时';
    return date.length + eight.length;
}

// The second pass over all days, the first having warmed the compiler up.
function nsPerDay(convert) {
    let sink = 0;
    let best = Infinity;
    for (let pass = 0; pass < 2; ++pass) {
        const start = process.hrtime.bigint();
        for (const day of days) sink += convert(day);
        const ns = Number(process.hrtime.bigint() - start);
        if (pass > 0) best = Math.min(best, ns);
    }
    if (sink === 0) throw new Error('nothing converted');
    return best / days.length;
}

const line = `days ${days.length} info ${nsPerDay(info).toFixed(1)} texts ${nsPerDay(texts).toFixed(1)}\n`;
const out = process.argv[2];
if (out) {
    fs.writeFileSync(out + '.part', line);
    fs.renameSync(out + '.part', out);
} else {
    process.stdout.write(line);
}

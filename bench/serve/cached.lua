-- wrk: plain GETs (no If-None-Match) of the same four charts, full bodies from the cache.
local n = 0
function request()
  n = n + 1
  return wrk.format("GET", string.format("/chart/intraday/S%04d.png?size=400x300", n % 4))
end

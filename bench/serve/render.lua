-- wrk: every request a different instrument of S0000..S<N-1> (and the theme alternates each
-- pass), so with the service's cache off every request is a real render.
local count = tonumber(os.getenv("INSTRUMENTS") or "1800")
local kind = os.getenv("KIND") or "intraday"
local threads = 0
function setup(thread)
  thread:set("id", threads)
  threads = threads + 1
end
function init(args)
  n = id * 7919
end
function request()
  n = n + 1
  local theme = (math.floor(n / count) % 2 == 0) and "dark" or "light"
  return wrk.format("GET", string.format("/chart/%s/S%04d.png?size=400x300&theme=%s", kind, n % count, theme))
end

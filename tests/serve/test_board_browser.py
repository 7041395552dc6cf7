# The market board in headless Chromium: every thumbnail decodes, and a minute appended to an
# instrument's file shows in its thumbnail within two seconds, without reloading the page.
import os
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as Driver

from conftest import append_next_minute

SHOT = os.environ.get("KELOCHART_BOARD_SHOT")  # where to keep a screenshot of the board, if set


def test_board_thumbnails_decode_and_follow_the_file(service, data):
    (data / "TXFL6.csv").unlink()  # a night-session future belongs on a futures board, not this stock board
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--no-first-run", "--window-size=1300,1000", f"--user-data-dir={tempfile.mkdtemp()}"]:
        options.add_argument(flag)
    browser = webdriver.Chrome(service=Driver("/usr/bin/chromedriver"), options=options)
    try:
        browser.get(service.base + "/")
        symbols = sorted(p.stem for p in data.glob("*.csv") if not p.is_symlink())
        decoded = ("return [...document.images].filter(i => i.complete && i.naturalWidth === 400)"
                   ".map(i => i.dataset.symbol).sort()")
        deadline = time.monotonic() + 15
        while browser.execute_script(decoded) != symbols and time.monotonic() < deadline:
            time.sleep(0.1)
        assert browser.execute_script(decoded) == symbols
        if SHOT:
            browser.save_screenshot(SHOT)

        source = "return document.querySelector('img[data-symbol=\"2454\"]').src"
        before = browser.execute_script(source)
        browser.execute_script("window.notReloaded = true")
        append_next_minute(data / "2454.csv")
        changed = time.monotonic()
        while browser.execute_script(source) == before and time.monotonic() - changed < 2.0:
            time.sleep(0.05)
        assert browser.execute_script(source) != before, "the thumbnail did not change within 2 s"
        assert browser.execute_script("return window.notReloaded === true")
        assert browser.execute_script("return document.querySelector('img[data-symbol=\"2454\"]').naturalWidth") == 400
    finally:
        browser.quit()

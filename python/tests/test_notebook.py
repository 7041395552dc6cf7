"""A notebook shows the chart a cell returns. The kernel runs this interpreter with nothing
added to its path, as the kernel the README has a user install for the environment does:
the cell imports the kelochart installed there."""
import base64
import json
import sys

import nbformat
from nbclient import NotebookClient

import kelochart


def test_a_cell_returning_a_chart_shows_it(day, tmp_path, monkeypatch):
    kernel = tmp_path / "jupyter" / "kernels" / "kelochart-under-test"
    kernel.mkdir(parents=True)
    (kernel / "kernel.json").write_text(json.dumps({
        "argv": [sys.executable, "-m", "ipykernel_launcher", "-f", "{connection_file}"],
        "display_name": "Python (kelochart)", "language": "python"}))
    monkeypatch.setenv("JUPYTER_PATH", str(tmp_path / "jupyter"))
    source = f"import kelochart, pandas as pd\nkelochart.Chart('intraday', pd.read_csv({str(day)!r}), name='day')"
    nb = nbformat.v4.new_notebook(cells=[nbformat.v4.new_code_cell(source)])
    NotebookClient(nb, timeout=120, kernel_name="kelochart-under-test",
                   resources={"metadata": {"path": str(tmp_path)}}).execute()
    data = nb.cells[0].outputs[0]["data"]
    assert base64.b64decode(data["image/png"]) == kelochart.render("intraday", day)
    assert data["image/svg+xml"].startswith("<?xml")

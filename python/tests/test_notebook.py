"""A notebook shows the chart a cell returns (nbclient runs a one-cell notebook on a kernel
of this interpreter)."""
import base64
import os

import nbformat
from nbclient import NotebookClient

import kelochart


def test_a_cell_returning_a_chart_shows_it(day, tmp_path):
    home = os.path.dirname(os.path.dirname(kelochart.__file__))  # the kelochart under test, installed or not
    source = (f"import sys; sys.path.insert(0, {home!r})\nimport kelochart, pandas as pd\n"
              f"kelochart.Chart('intraday', pd.read_csv({str(day)!r}), name='day')")
    nb = nbformat.v4.new_notebook(cells=[nbformat.v4.new_code_cell(source)])
    nb.metadata["kernelspec"] = {"name": "python3", "display_name": "Python 3", "language": "python"}
    NotebookClient(nb, timeout=120, kernel_name="python3", resources={"metadata": {"path": str(tmp_path)}}).execute()
    data = nb.cells[0].outputs[0]["data"]
    assert base64.b64decode(data["image/png"]) == kelochart.render("intraday", day)
    assert data["image/svg+xml"].startswith("<?xml")

// kelochart._native: the tool's render request, reader and output for Python. Every chart
// goes the tool's one way, RenderCsv over CSV text (a file's own bytes, or a table laid out
// as CSV by CsvTable), so the package and `kelochart render` draw the same bytes. The GIL is
// released while a chart is parsed, drawn and encoded; each call makes its own chart objects.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <datetime.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Batch.h"
#include "ChartInput.h"
#include "CsvReader.h"
#include "CsvTable.h"
#include "FieldText.h"
#include "KLineChart.h"
#include "RenderRequest.h"

namespace py = pybind11;
using namespace kelo::cli;
using kelo::py::CsvTable;
using kelo::py::TableColumn;

namespace {

// The Python class InputError (kelochart.InputError), handed over when the package loads.
py::object& InputErrorClass() {
  static py::object* cls = new py::object();  // never destroyed: outlives the interpreter's teardown order
  return *cls;
}

// The text a chart is drawn from: a file's bytes (name: its path, as the tool shows it) or a
// table's CSV (name: the instrument, table: to place errors in rows and columns).
struct Input {
  std::string name;
  std::string text;
  std::optional<CsvTable> table;
  // The name the reader is given: the caption takes its stem, so a table's name gets an
  // extension to lose ("2330.TW" stays "2330.TW").
  std::string ReaderName() const { return table ? name + ".csv" : name; }
};

[[noreturn]] void RaiseInputError(const Input* input, const InputError& e) {
  py::object line, column;
  std::string text;
  if (input && input->table) {
    const auto place = input->table->Locate(e.line, e.column);
    line = py::int_(place.row);
    column = place.column.empty() || e.line < 1 ? py::object(py::none()) : py::object(py::str(place.column));
    text = input->name;
    if (e.line >= 1) text += place.row ? ": row " + std::to_string(place.row) : ": header";
    if (!column.is_none()) text += ", column \"" + place.column + "\"";
    text += ": " + e.message;
  } else {
    line = py::int_(e.line);
    column = e.line > 0 ? py::object(py::int_(e.column > 0 ? e.column : 1)) : py::object(py::none());
    text = e.Text();
  }
  const std::string file = input ? input->name : e.file;
  py::object error = InputErrorClass()(e.message, file, line, column, text);
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

Input FromFile(const std::string& path) {
  std::variant<std::string, InputError> text;
  {
    py::gil_scoped_release release;
    text = ReadInput(path);
  }
  if (auto* error = std::get_if<InputError>(&text)) RaiseInputError(nullptr, *error);
  return Input{path, std::move(std::get<std::string>(text)), std::nullopt};
}

std::string Utf8(PyObject* o) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(o, &size);
  if (!data) throw py::error_already_set();
  return std::string(data, static_cast<std::size_t>(size));
}

// One value of an object column: strings as they are, numbers as numbers are written,
// datetimes (pandas Timestamps too) as their time of day with the day kept aside.
std::string ObjectField(PyObject* o, const std::vector<PyObject*>& missing, std::int32_t& date) {
  for (PyObject* m : missing) {
    if (o == m) return "";
  }
  if (PyUnicode_Check(o)) return Utf8(o);
  if (PyBool_Check(o)) return o == Py_True ? "True" : "False";
  if (PyLong_Check(o)) {
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(o, &overflow);
    if (!overflow && !(v == -1 && PyErr_Occurred())) return std::to_string(v);
    PyErr_Clear();
  } else if (PyFloat_Check(o)) {
    return kelo::py::NumberText(PyFloat_AS_DOUBLE(o));
  } else if (PyDateTime_Check(o)) {
    date = PyDateTime_GET_YEAR(o) * 10000 + PyDateTime_GET_MONTH(o) * 100 + PyDateTime_GET_DAY(o);
    return kelo::py::ClockText(PyDateTime_DATE_GET_HOUR(o), PyDateTime_DATE_GET_MINUTE(o),
                               PyDateTime_DATE_GET_SECOND(o), PyDateTime_DATE_GET_MICROSECOND(o) * 1000);
  } else if (PyTime_Check(o)) {
    return kelo::py::ClockText(PyDateTime_TIME_GET_HOUR(o), PyDateTime_TIME_GET_MINUTE(o),
                               PyDateTime_TIME_GET_SECOND(o), PyDateTime_TIME_GET_MICROSECOND(o) * 1000);
  } else if (PyDate_Check(o)) {
    return kelo::py::DateText(PyDateTime_GET_YEAR(o) * 10000 + PyDateTime_GET_MONTH(o) * 100 + PyDateTime_GET_DAY(o));
  } else if (PyBytes_Check(o)) {
    return std::string(PyBytes_AS_STRING(o), static_cast<std::size_t>(PyBytes_GET_SIZE(o)));
  }
  py::str text(o);
  return Utf8(text.ptr());
}

// A column from its values: tag is how the package hands them over ("float", "int", "uint",
// "datetime" and "timedelta" as int64 nanoseconds, "object").
TableColumn MakeColumn(const std::string& name, const std::string& tag, const py::array& values,
                       const std::vector<PyObject*>& missing) {
  TableColumn c;
  c.name = name;
  const auto n = static_cast<std::size_t>(values.size());
  c.fields.reserve(n);
  if (values.ndim() != 1) throw py::value_error("column \"" + name + "\" is not one-dimensional");
  if (tag == "float") {
    if (values.dtype().itemsize() == 4) {
      auto v = py::array_t<float, py::array::c_style | py::array::forcecast>::ensure(values);
      for (std::size_t i = 0; i < n; ++i) c.fields.push_back(kelo::py::NumberText(v.at(i), true));
    } else {
      auto v = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(values);
      for (std::size_t i = 0; i < n; ++i) c.fields.push_back(kelo::py::NumberText(v.at(i)));
    }
  } else if (tag == "uint") {
    auto v = py::array_t<std::uint64_t, py::array::c_style | py::array::forcecast>::ensure(values);
    for (std::size_t i = 0; i < n; ++i) c.fields.push_back(std::to_string(v.at(i)));
  } else if (tag == "int" || tag == "datetime" || tag == "timedelta") {
    auto v = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>::ensure(values);
    if (tag == "datetime") c.dates.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
      const std::int64_t x = v.at(i);
      if (tag == "int") {
        c.fields.push_back(std::to_string(x));
      } else if (x == INT64_MIN) {  // NaT
        c.fields.emplace_back();
      } else {
        if (tag == "datetime") {
          const auto t = kelo::py::FromEpochNanoseconds(x);
          c.dates[i] = t.Date();
          c.fields.push_back(kelo::py::ClockText(t.hour, t.minute, t.second, t.nanosecond));
        } else {  // a time since midnight: hours may pass 23 (and the reader refuses them)
          const std::int64_t a = x < 0 ? -x : x, s = a / 1000000000LL;
          c.fields.push_back((x < 0 ? "-" : "") +
                             kelo::py::ClockText(static_cast<std::int32_t>(std::min<std::int64_t>(s / 3600, 99999)),
                                                 static_cast<std::int32_t>(s / 60 % 60),
                                                 static_cast<std::int32_t>(s % 60),
                                                 static_cast<std::int32_t>(a % 1000000000LL)));
        }
      }
    }
  } else if (tag == "object") {
    if (values.dtype().kind() != 'O') throw py::type_error("column \"" + name + "\": expected an object array");
    auto* items = static_cast<PyObject* const*>(values.data());
    const auto stride = values.strides(0) / static_cast<py::ssize_t>(sizeof(PyObject*));
    c.dates.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
      c.fields.push_back(ObjectField(items[static_cast<py::ssize_t>(i) * stride], missing, c.dates[i]));
    }
  } else {
    throw py::type_error("column \"" + name + "\": values of kind " + tag + " are not taken");
  }
  return c;
}

Input FromTable(const std::string& name, const std::vector<std::tuple<std::string, std::string, py::array>>& columns,
                const std::vector<py::object>& missing) {
  std::vector<PyObject*> missingPtrs;
  for (const py::object& m : missing) missingPtrs.push_back(m.ptr());
  std::vector<TableColumn> cs;
  for (const auto& [column, tag, values] : columns) cs.push_back(MakeColumn(column, tag, values, missingPtrs));
  auto table = CsvTable::Make(std::move(cs));
  if (auto* error = std::get_if<kelo::py::TableError>(&table)) {
    py::object column = error->place.column.empty() ? py::object(py::none()) : py::object(py::str(error->place.column));
    std::string text =
        name + (error->place.row ? ": row " + std::to_string(error->place.row) : std::string()) + ": " + error->message;
    py::object e = InputErrorClass()(error->message, name, error->place.row, column, text);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(e.ptr())), e.ptr());
    throw py::error_already_set();
  }
  Input input{name, {}, std::move(std::get<CsvTable>(table))};
  input.text = input.table->Text();
  return input;
}

bool KnownOption(const std::string& name) {
  std::string dashed = name;
  for (char& ch : dashed) ch = ch == '_' ? '-' : ch;
  for (const RenderOption& o : RenderOptions()) {
    if (dashed == o.name) return true;
  }
  return false;
}

RenderRequest MakeRequest(const std::string& kind, const std::vector<std::pair<std::string, std::string>>& options) {
  RenderRequest request;
  auto found = KindByName(kind);
  if (auto* error = std::get_if<UsageError>(&found)) throw py::value_error(error->message);
  request.kind = std::get<const ChartKind*>(found);
  for (const auto& [name, value] : options) {
    if (!KnownOption(name)) throw py::type_error("unknown option " + name);
    if (auto error = SetRenderOption(request, name, value)) throw py::value_error(name + ": " + error->message);
  }
  if (auto error = CheckRenderRequest(request)) throw py::value_error(error->message);
  return request;
}

py::bytes Render(const std::string& kind, const Input& input,
                 const std::vector<std::pair<std::string, std::string>>& options) {
  const RenderRequest request = MakeRequest(kind, options);
  RenderResult result;
  {
    py::gil_scoped_release release;
    result = RenderCsv(request, input.ReaderName(), input.text);
  }
  if (auto* error = std::get_if<InputError>(&result)) RaiseInputError(&input, *error);
  const auto& bytes = std::get<std::vector<std::uint8_t>>(result);
  return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The checks a render makes before drawing (reader, options against the data), without drawing.
void Check(const std::string& kind, const Input& input,
           const std::vector<std::pair<std::string, std::string>>& options) {
  const RenderRequest request = MakeRequest(kind, options);
  std::optional<InputError> failure;
  {
    py::gil_scoped_release release;
    auto bars = ParseMinuteBars(input.ReaderName(), input.text);
    if (auto* error = std::get_if<InputError>(&bars)) {
      failure = *error;
    } else {
      const bool innerOuter = std::get<MinuteBars>(bars).hasInnerOuter;
      // The kind's own preparation, as a render makes it: the K-line takes days of bars.
      auto prepared =
          PrepareForKind(*request.kind, std::move(std::get<MinuteBars>(bars)), request.input, request.kline);
      if (auto* e = std::get_if<InputError>(&prepared)) {
        failure = *e;
      } else if (request.kind->needsInnerOuter && !innerOuter) {
        failure = InputError{
            input.name, 1, 1,
            std::string("the chart kind ") + request.kind->name + " needs the columns \"inner\" and \"outer\""};
      }
    }
  }
  if (failure) RaiseInputError(&input, *failure);
}

void Write(const std::string& path, const py::bytes& data) {
  std::string_view view = data;
  std::vector<std::uint8_t> bytes(view.begin(), view.end());
  std::optional<std::string> error;
  {
    py::gil_scoped_release release;
    error = WriteOutput(path, bytes);
  }
  if (error) throw py::value_error(*error);  // mapped to OSError by the package
}

}  // namespace

PYBIND11_MODULE(_native, m) {
  m.doc() = "The native part of kelochart: the tool's render request, reader and output.";
  PyDateTime_IMPORT;
  if (!PyDateTimeAPI) throw py::error_already_set();
  // Palette brushes and other shared objects exist before any thread draws.
  PrepareSharedObjects();

  py::class_<Input>(m, "Input", "The CSV text a chart is drawn from (a file's or a table's).")
      .def_readonly("name", &Input::name)
      .def_property_readonly("text", [](const Input& i) { return py::bytes(i.text); })
      .def_property_readonly("is_table", [](const Input& i) { return i.table.has_value(); });
  m.def("set_input_error", [](py::object cls) { InputErrorClass() = std::move(cls); });
  m.def("from_file", &FromFile, py::arg("path"));
  m.def("from_table", &FromTable, py::arg("name"), py::arg("columns"), py::arg("missing"));
  m.def("render", &Render, py::arg("kind"), py::arg("input"), py::arg("options"));
  m.def("check", &Check, py::arg("kind"), py::arg("input"), py::arg("options"));
  m.def("check_request", [](const std::string& kind, const std::vector<std::pair<std::string, std::string>>& options) {
    MakeRequest(kind, options);
  });
  m.def("write_output", &Write, py::arg("path"), py::arg("data"));
  m.def("kinds", [] {
    std::vector<std::pair<std::string, std::string>> kinds;
    for (const ChartKind& k : ChartKinds()) kinds.emplace_back(k.name, k.summary);
    return kinds;
  });
  m.def("options", [] {
    std::vector<std::pair<std::string, std::string>> options;
    for (const RenderOption& o : RenderOptions()) options.emplace_back(o.name, o.help);
    return options;
  });
}

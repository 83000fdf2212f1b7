// The registry of functions callable by name, and the conversions between
// the values that calls by name carry and the typed arguments of the
// routines. A configuration stack travels as a list of k x 3 pages, or as a
// single k x 3 matrix when it has one page.

#include "core/console.h"
#include "document/cla.h"
#include "document/clf.h"
#include "document/guidata.h"
#include "document/guihandles.h"
#include "document/iskeyword.h"
#include "document/isvarname.h"
#include "document/movegui.h"
#include "document/openfig.h"
#include "document/showshape.h"
#include "document/showshape3D.h"
#include "document/wireshape3D.h"
#include "formats/dload.h"
#include "landmarks/vertxy3D.h"
#include "landmarks/x1y1z1.h"
#include "landmarks/xyzfromvert3.h"
#include "numerics/centsize3Da.h"
#include "numerics/getpproc3.h"
#include "numerics/getpprocon3.h"
#include "numerics/partialprocrustes3a.h"
#include "numerics/standardsize.h"
#include "numerics/svdrot2.h"
#include "runtime/Tarvolin.h"
#include "runtime/runtime.h"
#include "workflows/gettpsfile3D.h"
#include "workflows/mfload.h"
#include "workflows/mfloadtxt.h"

namespace tarvolin {
namespace {

const Value& input(const Values& args, size_t i, const char* name) {
  if (i >= args.size()) {
    throw RuntimeError("Input argument \"" + std::string(name) + "\" is undefined.");
  }
  return args[i];
}

std::string text(const Values& args, size_t i, const char* name) {
  const Value& v = input(args, i, name);
  if (!v.isText())
    throw RuntimeError("Input argument \"" + std::string(name) + "\" must be a text.");
  return v.text();
}

Eigen::MatrixXd matrix(const Values& args, size_t i, const char* name) {
  const Value& v = input(args, i, name);
  if (!v.isNumeric()) {
    throw RuntimeError("Input argument \"" + std::string(name) + "\" must be numeric.");
  }
  return v.matrix();
}

double number(const Values& args, size_t i, const char* name) {
  const Eigen::MatrixXd m = matrix(args, i, name);
  if (m.size() != 1) {
    throw RuntimeError("Input argument \"" + std::string(name) + "\" must be one number.");
  }
  return m(0, 0);
}

ConfigStack stack(const Values& args, size_t i, const char* name) {
  const Value& v = input(args, i, name);
  if (v.isNumeric()) return ConfigStack(v.matrix());
  if (!v.isList() || v.list().empty()) {
    throw RuntimeError("Input argument \"" + std::string(name) + "\" must be configurations.");
  }
  const Eigen::MatrixXd first = v.list().front().matrix();
  ConfigStack pages(first.rows(), static_cast<Eigen::Index>(v.list().size()));
  for (size_t p = 0; p < v.list().size(); ++p) {
    const Eigen::MatrixXd& page = v.list()[p].matrix();
    if (page.rows() != first.rows() || page.cols() != 3) {
      throw RuntimeError("Input argument \"" + std::string(name) +
                         "\": every page must be k x 3 with the same k.");
    }
    pages.page(static_cast<Eigen::Index>(p)) = page;
  }
  return pages;
}

Value stackValue(const ConfigStack& s) {
  if (s.specimens() == 1) return Value(Eigen::MatrixXd(s.page(0)));
  Value::List pages;
  for (Eigen::Index i = 0; i < s.specimens(); ++i) pages.emplace_back(Eigen::MatrixXd(s.page(i)));
  return Value(std::move(pages));
}

std::vector<std::string> texts(const Values& args, size_t from) {
  std::vector<std::string> all;
  for (size_t i = from; i < args.size(); ++i) {
    if (!args[i].isText()) throw RuntimeError("Options must be texts.");
    all.push_back(args[i].text());
  }
  return all;
}

// A result a file reader leaves unassigned while it assigns one after it
// (the file name after a cancelled dialog): empty, with the run-time's
// warning when the caller takes it.
Value unassigned(std::string_view function, std::string_view result, int nargout, int position) {
  if (nargout > position) console().disp(Registry::unassignedWarning(function, result));
  return Value();
}

// What a dialog's reader gives by name after a cancel: the data unassigned,
// the name the number 0.
Values cancelled(std::string_view function, int nargout) {
  return Values{unassigned(function, "y", nargout, 0), Value(0.0)};
}

Value loadedMatrix(const LoadedMatrix& read) {
  if (!read.openError.empty()) return Value(-1.0);
  return Value(read.y);
}

// A switchyard's action: an argument that is not a text names no action, so
// it goes where every unmatched action goes (the empty action is unmatched).
std::string action(const Values& args) {
  const Value& v = input(args, 0, "Action");
  return v.isText() ? v.text() : std::string();
}

using Body = std::function<Values(int nargout, const Values& args)>;

RegisteredFunction entry(std::string name, int inputs, int outputs,
                         std::vector<std::string> results, Body body) {
  return {std::move(name), inputs, outputs, std::move(results), 1, std::move(body)};
}

}  // namespace

void function_table(Runtime& runtime) {
  Registry& r = runtime.registry();
  Graphics& g = runtime.graphics();
  FileDialogs& dialogs = runtime.dialogs();

  r.add(entry("Tarvolin", -1, -1, {}, [&runtime](int nargout, const Values& args) {
    return Tarvolin(runtime, nargout, args);
  }));
  r.add(entry("stand3sw", 1, 1, {"y"}, [&runtime](int, const Values& args) {
    runtime.stand3sw()(action(args));
    return Values{};
  }));
  r.add(entry("guidata", 2, 1, {"data"}, [&g](int nargout, const Values& args) {
    if (args.size() >= 2) {
      if (nargout > 0) throw RuntimeError("Too many output arguments.");
      guidata(g, args[0], args[1]);
      return Values{};
    }
    return Values{guidata(g, input(args, 0, "h"))};
  }));
  r.add(entry("guihandles", 1, 1, {"handles"}, [&g](int, const Values& args) {
    return Values{guihandles(g, args.empty() ? std::nullopt : std::optional<Value>(args[0]))};
  }));
  r.add(entry("openfig", 2, 1, {"fig"}, [&runtime](int, const Values& args) {
    std::string policy = "new";
    if (args.size() > 1) {
      if (!args[1].isText()) throw GraphicsError("Second input argument must be 'new' or 'reuse'.");
      policy = args[1].text();
    }
    return Values{
        Value(openfig(runtime.graphics(), text(args, 0, "filename"), policy, runtime.figureFolder())
                  .value())};
  }));
  r.add(entry("standsw", 1, 1, {"y"}, [&runtime](int, const Values& args) {
    runtime.standsw()(action(args));
    return Values{};
  }));
  r.add(entry("cla", -1, 1, {"ret_ax"}, [&g](int nargout, const Values& args) {
    const Handle axes = cla(g, texts(args, 0));
    return nargout > 0 ? Values{Value(axes.value())} : Values{};
  }));
  r.add(entry("clf", -1, 1, {"ret_fig"}, [&g](int nargout, const Values& args) {
    const Handle window = clf(g, texts(args, 0));
    return nargout > 0 ? Values{Value(window.value())} : Values{};
  }));
  r.add(entry("getpproc3", 1, 2, {"reference3", "sdata"}, [](int, const Values& args) {
    const Superimposition s = getpproc3(stack(args, 0, "data"), consoleSink());
    return Values{Value(s.reference3), stackValue(s.sdata)};
  }));
  r.add(entry("getpprocon3", 2, 1, {"sdata"}, [](int, const Values& args) {
    return Values{stackValue(
        getpprocon3(matrix(args, 0, "reference"), stack(args, 1, "data"), consoleSink()))};
  }));
  r.add(entry("gettpsfile3D", 1, 3, {"y", "fname", "namelist"},
              [&dialogs](int nargout, const Values&) {
                const TpsFile file = gettpsfile3D(dialogs);
                if (!file.chosen) return cancelled("gettpsfile3D", nargout);
                // A file that cannot be opened: the reader has said so; the name alone is assigned.
                if (!file.openError.empty()) {
                  return Values{unassigned("gettpsfile3D", "y", nargout, 0), Value(file.fname)};
                }
                Value::List names(file.namelist.begin(), file.namelist.end());
                names.emplace_back(-1.0);
                return Values{Value(file.y), Value(file.fname), Value(std::move(names))};
              }));
  r.add(entry("mfload", 1, 2, {"y", "fn"}, [&dialogs](int nargout, const Values&) {
    const LoadedMatrix read = mfload(dialogs);
    if (!read.chosen) return cancelled("mfload", nargout);
    return Values{loadedMatrix(read), Value(read.fn)};
  }));
  r.add(entry("mfloadtxt", 1, 2, {"y", "fn"}, [&dialogs](int nargout, const Values&) {
    const LoadedMatrix read = mfloadtxt(dialogs);
    if (!read.chosen) return cancelled("mfloadtxt", nargout);
    return Values{loadedMatrix(read), Value(read.fn)};
  }));
  r.add(entry("showshape", 2, 1, {"y"}, [&g](int, const Values& args) {
    const std::string style = args.size() > 1 ? text(args, 1, "xform") : "k.";
    return Values{Value(showshape(g, matrix(args, 0, "x"), style))};
  }));
  r.add(entry("showshape3D", 2, 0, {}, [&g](int, const Values& args) {
    showshape3D(g, stack(args, 0, "x"), text(args, 1, "dsymbol"));
    return Values{};
  }));
  r.add(entry("standardsize", 3, 2, {"y", "tvect"}, [](int nargout, const Values& args) {
    const Eigen::MatrixXd t = matrix(args, 1, "t");
    const Standardized s =
        standardsize(matrix(args, 0, "data"), Eigen::Map<const Eigen::VectorXd>(t.data(), t.size()),
                     number(args, 2, "tfixed"));
    if (nargout > 1 && s.tvect.size() == 0) return Values{Value(s.y)};
    return Values{Value(s.y), Value(s.tvect)};
  }));
  r.add(entry("vertxy3D", 1, 1, {"y"}, [](int, const Values& args) {
    return Values{stackValue(vertxy3D(matrix(args, 0, "x")))};
  }));
  r.add(entry("wireshape3D", 3, 0, {}, [&g](int, const Values& args) {
    const std::string color = args.size() > 2 ? text(args, 2, "color") : "b-";
    wireshape3D(g, matrix(args, 0, "x"), matrix(args, 1, "wirelist"), color);
    return Values{};
  }));
  r.add(entry("xyzfromvert3", 2, 1, {"y"}, [](int, const Values& args) {
    const Eigen::MatrixXd cs = matrix(args, 1, "cs");
    return Values{Value(xyzfromvert3(stack(args, 0, "data"),
                                     Eigen::Map<const Eigen::VectorXd>(cs.data(), cs.size())))};
  }));
  r.add(entry("isvarname", 1, 1, {"t"}, [](int, const Values& args) {
    return Values{Value(isvarname(input(args, 0, "s")) ? 1.0 : 0.0)};
  }));
  r.add(entry("movegui", -1, 0, {}, [&g](int, const Values& args) {
    movegui(g, args);
    return Values{};
  }));
  r.add(entry("centsize3Da", 1, 1, {"ycs"}, [](int, const Values& args) {
    return Values{Value(centsize3Da(matrix(args, 0, "x")))};
  }));
  r.add(entry("partialprocrustes3a", 2, 1, {"y"}, [](int, const Values& args) {
    return Values{Value(partialprocrustes3a(matrix(args, 0, "reference"),
                                            matrix(args, 1, "subject"), consoleSink()))};
  }));
  r.add(entry("dload", 1, 1, {"x"}, [](int, const Values& args) {
    return Values{Value(dload(text(args, 0, "fname")))};
  }));
  r.add(entry("x1y1z1", 2, 1, {"y"}, [](int, const Values& args) {
    return Values{Value(Eigen::MatrixXd(x1y1z1(matrix(args, 0, "x"), number(args, 1, "cs"))))};
  }));
  r.add(entry("iskeyword", 1, 1, {"L"}, [](int, const Values& args) {
    if (args.empty()) {
      Value::List words;
      for (const std::string& w : iskeyword()) words.emplace_back(w);
      return Values{Value(std::move(words))};
    }
    return Values{Value(iskeyword(args[0]) ? 1.0 : 0.0)};
  }));
  r.add(entry("svdrot2", 2, 1, {"y"}, [](int, const Values& args) {
    return Values{
        Value(Eigen::MatrixXd(svdrot2(matrix(args, 0, "reference"), matrix(args, 1, "subject"))))};
  }));

  r.addLocalTable(Tarvolin_callbacks(runtime));
  auto parentFigure = [&g](int, const Values& args) {
    const Value& h = input(args, 0, "fig");
    if (!h.isScalar() || !g.isValid(Handle(h.scalar()))) return Values{Value()};
    const std::optional<Handle> window = g.parentFigure(Handle(h.scalar()));
    return Values{window ? Value(window->value()) : Value()};
  };
  r.addLocalTable({"guidata", {{"guidata/getParentFigure", 1, 1, {"fig"}, 99, parentFigure}}});
  r.addLocalTable(
      {"guihandles",
       {{"guihandles/getParentFigure", 1, 1, {"fig"}, 78, parentFigure},
        {"guihandles/createHandles", 1, 1, {"handles"}, 86, [&g](int, const Values& args) {
           return Values{guihandles(g, input(args, 0, "fig"))};
         }}}});
  r.addLocalTable({"movegui", {{"movegui/get_parent_fig", 1, 1, {"h"}, 166, parentFigure}}});
}

}  // namespace tarvolin

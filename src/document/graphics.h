#pragma once
// The graphics object model: the screen, windows, axes, controls and plotted
// point sets, addressed by handles (numbers by name), with the operations
// the workflows use (findobj, get, set, figure, plot3, hold, axis, msgbox,
// print). C++ callers set properties through typed setters; get and set by
// name serve the runtime and figure files. It links no widgets: a window
// layer mirrors it by listening to the changes it announces, and tests read
// it directly.
//
// Objects form a tree under the root (handle 0, the screen): windows under
// the root, axes and controls under a window, plotted objects under axes.
// Window handles are small whole numbers (the smallest free one, from 1);
// every other object gets a handle from 1000 up. A handle is never reused
// while its object lives, but a window opened after another closed may get
// the closed one's number: what must stay one particular window is
// remembered as an ObjectId, whose serial number is never given twice.
//
// Radio buttons of one window that name the same group are exclusive:
// switching one on switches the others off.
//
// Every change is announced to the listeners: an object created or deleted,
// a property set, a message box shown, a picture or a text put on the
// clipboard, an error recorded. The model keeps no history of them.
//
// Example:
//   Graphics g;
//   Handle main = g.figure();
//   Handle box = g.uicontrol(main, {ControlStyle::edit, "StandardBox", "0.0000"});
//   g.setString(g.findobj("StandardBox").front(), "1.5");
//   Handle plotWindow = g.figure();
//   g.plot3(x, y, z, "b*", "mean shape", PlotRole::mean);   // into new axes of plotWindow

#include <Eigen/Core>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/handle.h"
#include "document/objectstore.h"
#include "document/plotdata.h"
#include "document/plotrole.h"
#include "document/plotstyle.h"
#include "document/value.h"

namespace tarvolin {

// An object as remembered: its handle and its serial number. No two objects
// of a run share a serial number, so an object made later under the same
// handle is not the one remembered.
struct ObjectId {
  Handle handle = kRoot;
  std::uint64_t serial = 0;
  bool operator==(const ObjectId&) const = default;
};

// A property's value: a number, a text, or a matrix (positions, point data).
using PropertyValue = std::variant<double, std::string, Eigen::MatrixXd>;

enum class ObjectType : std::uint8_t { root, figure, axes, uicontrol, line };
// A listbox shows the lines of its String, one item each; its Value is the
// item chosen, from 1 (0: none). A popupmenu is the same in a drop-down list
// that shows the item chosen.
enum class ControlStyle { pushbutton, radiobutton, checkbox, edit, text, listbox, popupmenu };

// A failing graphics operation: an unknown handle, a property that does not
// exist, a value of the wrong kind, a style that is not a plot style.
class GraphicsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The description of a new control.
struct ControlSpec {
  ControlStyle style = ControlStyle::pushbutton;
  std::string tag;
  std::string string;
  double value = 0;
  bool enable = true;
  std::string callback;
  Eigen::Vector4d position = Eigen::Vector4d(10, 10, 100, 24);  // left, bottom, width, height
  std::string tooltip;
  std::string group;  // radio buttons: those of one window with the same group are exclusive
  bool visible = true;
  // An edit box for one number: the lowest and the highest it takes.
  std::optional<std::pair<double, double>> numbers = std::nullopt;
};

// What windows, axes, controls and the root hold beyond what every object
// holds. A plotted object, of which a 2D plot has one per point, holds none.
struct ObjectDetails {
  // Root: the screen; figure, axes and control: where they stand, in pixels.
  Eigen::Vector4d position = Eigen::Vector4d::Zero();
  std::string units = "pixels";

  // Control: what a click runs. Axes: what a click on one of its plotted
  // objects runs, that object being the callback's object (gcbo); the
  // window layer names an object that has a Tag when it is pointed at.
  std::string callback;

  // Figure. The outer position includes the frame and title bar; moving the
  // corner of one of the two positions moves the other's corner with it,
  // while each keeps its own size (as the window system reports them).
  std::string name;
  std::optional<Handle> currentAxes;
  Eigen::Vector4d outerPosition = Eigen::Vector4d::Zero();
  std::string activePositionProperty = "outerposition";
  // Figure and control: shown at all (a hidden control keeps its place).
  bool visible = true;

  // Control.
  ControlStyle style = ControlStyle::pushbutton;
  std::string string;
  double value = 0;
  bool enable = true;
  std::string tooltip;
  std::string group;
  std::optional<std::pair<double, double>> numbers;  // ControlSpec's
  std::string fontName;  // the font family the view shows the text in; "monospace": fixed width
  // The size the control's text needs at its width, as the window layer
  // measured it; nothing until it has (Extent is then an estimate).
  std::optional<Eigen::Vector2d> extent;

  // Axes.
  bool hold = false;
  bool axisEqual = false;  // equal data units on all axes; limits always follow the data
  std::string title;       // shown above the plot
  std::string xlabel;      // a flat plot's axis titles, below and left of it
  std::string ylabel;

  std::map<std::string, Value, std::less<>> appdata;
};

struct GraphicsObject {
  Handle handle = kRoot;
  std::uint64_t serial = 0;  // never given twice in a run; 0 for the root
  ObjectType type = ObjectType::root;
  // Plotted object: its style taken apart, as the renderer draws it (the
  // text is lineStyle below), and what it stands for, as whoever plotted it
  // said. Kept beside the type, in room the object has anyway.
  PlotStyle style;
  PlotRole role = PlotRole::other;
  Handle parent = kRoot;
  std::vector<Handle> children;  // in order of creation
  std::string tag;

  // Plotted object: one set of points, or a line through them.
  PlotData xdata, ydata, zdata;  // zdata empty for a 2D plot
  // As given, for example "bo" or "k:"; kept once by the model for all the
  // objects of one style, as the legend names are.
  std::string_view lineStyle;
  double markerSize = 6;
  // What the legend calls it ("mean shape"); empty: left out. The text is
  // kept once by the model for all the objects of one name (a 2D plot has
  // one object per point), and lives as long as the model.
  std::string_view displayName;

  // The details of a window, axes, control or the root. Read from an object
  // that has none (a plotted object) they are the defaults; written, they
  // are made.
  const ObjectDetails& details() const { return details_ ? *details_ : kNoDetails; }
  ObjectDetails& details() {
    if (!details_) details_ = std::make_unique<ObjectDetails>();
    return *details_;
  }

  GraphicsObject() = default;
  GraphicsObject(const GraphicsObject& other) : GraphicsObject(copyOf(other)) {}
  GraphicsObject& operator=(const GraphicsObject& other) { return *this = copyOf(other); }
  GraphicsObject(GraphicsObject&&) noexcept = default;
  GraphicsObject& operator=(GraphicsObject&&) noexcept = default;
  ~GraphicsObject() = default;

 private:
  static const ObjectDetails kNoDetails;
  // A copy that holds its own details.
  static GraphicsObject copyOf(const GraphicsObject& other);
  std::unique_ptr<ObjectDetails> details_;
};

struct GraphicsChange {
  enum class Kind { created, deleted, property, message, picture, text, error, status };
  Kind kind = Kind::property;
  // The object concerned: the window, for a picture, a clipboard text, an
  // error or a status text (the root when no window is concerned).
  Handle handle = kRoot;
  std::string detail;  // the property's name, or the message, clipboard, error or status text
};

// A picture of a window put on the clipboard: the window and a copy of the
// point sets it showed, in drawing order.
struct ClipboardPicture {
  Handle figure = kRoot;
  std::vector<GraphicsObject> lines;
};

class Graphics {
 public:
  Graphics();
  // Plotted objects keep their names in the model: a copy would share them
  // with a model that may go first. Moving is fine.
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;
  Graphics(Graphics&&) = default;
  Graphics& operator=(Graphics&&) = default;

  // The screen's size in pixels, as the root's ScreenSize shows it (the
  // window layer sets the real one; 1920 x 1080 until then).
  void setScreenSize(double width, double height);
  // Where window h really stands, as the window system reports it: the
  // drawing area and the whole window with its frame, each as it is (unlike
  // setting Position or OuterPosition, which moves the other's corner along).
  void setWindowGeometry(Handle h, const Eigen::Vector4d& position,
                         const Eigen::Vector4d& outerPosition);
  // The size control h's text needs at its width, as the window layer
  // measures it in its font: what Extent says from then on. Nothing is
  // announced (the layer measures when it is told of a change).
  void setExtent(Handle h, double width, double height);

  // --- objects
  bool isValid(Handle h) const;
  // The object h names; GraphicsError when there is none.
  const GraphicsObject& object(Handle h) const;
  // The object h names now, as it is to be remembered.
  ObjectId id(Handle h) const;
  // True while the object remembered as `id` exists; false once it is gone,
  // even when another object has its handle since.
  bool exists(const ObjectId& id) const;
  // The objects of `type` under h (h itself included), depth first.
  std::vector<Handle> descendants(Handle h, ObjectType type) const;

  // --- windows and axes
  // Opens a new window and makes it current.
  Handle figure();
  // Makes window h current; GraphicsError when h names no open window.
  void figure(Handle h);
  std::optional<Handle> currentFigure() const { return currentFigure_; }
  // The current window, opened when there is none.
  Handle gcf();
  // The current axes of the current window, made when there are none.
  Handle gca();
  // New axes in window `figure`, current there.
  Handle axes(Handle figure);
  // Makes axes h current in its window, and its window current.
  void setCurrentAxes(Handle h);
  // Closes window h (and everything in it). The most recently made window
  // still open becomes current.
  void close(Handle h);
  // Deletes every child of h; with the option "reset" an axes also goes back
  // to hold off and axis "auto". Other options are a GraphicsError.
  void clearObject(Handle h, std::span<const std::string> options = {});
  // Deletes the plotted objects of axes h that stand for `role`, leaving
  // the others in their order.
  void removePlotted(Handle h, PlotRole role);

  // --- controls
  Handle uicontrol(Handle figure, const ControlSpec& described);
  // The handles of every object whose Tag is `tag` exactly, in tree order:
  // the screen, then each window and everything in it, depth first, objects
  // of one parent in order of creation.
  std::vector<Handle> findobj(std::string_view tag) const;
  // The same among `within` and the objects inside it.
  std::vector<Handle> findobj(std::string_view tag, Handle within) const;

  // --- properties, by name (any letter case): Tag, String, Value, Enable
  // ("on" or "off" when read; "On"/"Off" in any case when set; a radio
  // button's Value set nonzero switches the others of its group off), Callback,
  // Style, FontName (controls), Position, Units, Name, TooltipString, Type,
  // Parent, Children, ScreenSize and CurrentFigure (root), OuterPosition and
  // ActivePositionProperty (figure), Visible (figure and control), Hold, DataAspectRatioMode,
  // Title, XLabel and YLabel (axes), XData, YData, ZData, LineStyle,
  // MarkerSize and DisplayName (plotted objects). Extent (controls, read
  // only) is (0, 0, width, height), the room the String needs at the
  // control's width: as the window layer measured it, else an estimate of
  // 8 pixels a character and 17 a line, lines wrapped at the width.
  PropertyValue get(Handle h, std::string_view name) const;
  void set(Handle h, std::string_view name, const PropertyValue& value);
  std::string getString(Handle h, std::string_view name) const;
  // The same properties set from C++, typed: each refuses an object that
  // has no such property as set by name does, and announces the change under
  // the property's name as set by name does, so listeners see no difference.
  void setTag(Handle h, std::string tag);
  void setUnits(Handle h, std::string units);
  void setPosition(Handle h, const Eigen::Vector4d& position);  // left, bottom, width, height
  void setOuterPosition(Handle h, const Eigen::Vector4d& position);
  void setActivePositionProperty(Handle h, std::string property);
  void setVisible(Handle h, bool visible);
  void setName(Handle h, std::string name);
  void setString(Handle h, std::string text);
  void setValue(Handle h, double value);
  void setEnable(Handle h, bool on);
  void setFontName(Handle h, std::string font);
  void setTitle(Handle h, std::string title);
  void setXLabel(Handle h, std::string label);
  void setYLabel(Handle h, std::string label);
  double getNumber(Handle h, std::string_view name) const;

  // Application data: named values stored on any object.
  void setappdata(Handle h, std::string_view name, Value value);
  std::optional<Value> getappdata(Handle h, std::string_view name) const;
  void rmappdata(Handle h, std::string_view name);

  // --- plotting into the current axes (made when there are none). With hold
  // off the axes are cleared first. A style is a colour letter (b g r c m y k
  // w) with a marker (. o x + * s d v ^ < > p h) and/or a line kind (- : -- -.),
  // in any order; a colour alone is a solid line. `name` is what the legend
  // calls the plotted object (its DisplayName); `role` what it stands for.
  // The coordinates are any Eigen vectors, evaluated straight into the
  // plotted object, or single values: plot(PlotData::one(x), PlotData::one(y), ...).
  Handle plot(PlotData x, PlotData y, std::string_view style, double markerSize,
              std::string_view name = {}, PlotRole role = PlotRole::other);
  Handle plot3(PlotData x, PlotData y, PlotData z, std::string_view style,
               std::string_view name = {}, PlotRole role = PlotRole::other);
  void hold(bool on);
  // "auto": limits follow the data; "equal": equal data units on all axes.
  void axis(std::string_view mode);

  // --- services
  // A message box without title; returns at once. Only the last one is
  // kept: who wants them all listens for them.
  void msgbox(std::string text);
  const std::string& lastMessage() const { return lastMessage_; }
  // print("-dmeta"): the current window's picture onto the clipboard, in
  // place of the one there (a picture of a large 2D plot holds a copy of
  // every point, so two are never kept).
  void print(std::string_view option);
  const std::optional<ClipboardPicture>& clipboard() const { return clipboard_; }
  // A text onto the clipboard (a report to paste elsewhere), announced for
  // the window whose callback is running (the current window outside
  // callbacks).
  void copyText(std::string text);
  const std::string& textClipboard() const { return textClipboard_; }
  // The object whose callback is running, and its window; nothing outside
  // callbacks. The caller that runs a callback sets and clears it.
  void setCallbackObject(std::optional<Handle> h) { callbackObject_ = h; }
  std::optional<Handle> gcbo() const;
  std::optional<Handle> gcbf() const;
  // The window that holds h (h itself for a window); nothing for the root.
  std::optional<Handle> parentFigure(Handle h) const;
  // The last error that ended an action, kept for the window to show. It
  // belongs to the window whose callback is running (the current window
  // outside callbacks); an empty text clears that window's error.
  void setLastError(std::string text);
  // What an action did, in plain words ("Saved 40 specimens to out.txt"),
  // for the status line of the window whose callback is running (the
  // current window outside callbacks). Nothing is kept.
  void status(std::string text);
  // The same for window `window`, whichever window's callback runs; an
  // empty text clears what its status line shows.
  void status(Handle window, std::string text);
  const std::string& lastError() const { return lastError_; }

  // --- listeners
  using Listener = std::function<void(const GraphicsChange&)>;
  int subscribe(Listener listener);
  void unsubscribe(int id);

 private:
  GraphicsObject& mutableObject(Handle h);
  Handle add(GraphicsObject&& object);
  void remove(Handle h);
  // Object h, when it is of one of `types` (any type when none is given);
  // else the error set by name gives.
  GraphicsObject& settable(Handle h, std::string_view property,
                           std::initializer_list<ObjectType> types);
  // Switches off every radio button of `on`'s group but `on`.
  void switchOffGroup(Handle on);
  Handle addLine(GraphicsObject&& line);
  // Keeps the index of tags up to date as object h gets or loses `tag`.
  void indexTag(Handle h, const std::string& tag);
  void unindexTag(Handle h, const std::string& tag);
  // Whether h is `within` or inside it.
  bool isInside(Handle h, Handle within) const;
  // h's place in the tree: the position of each of its ancestors among its
  // siblings, from the root down; comparing two gives their tree order.
  std::vector<size_t> treePlace(Handle h) const;
  void notify(GraphicsChange::Kind kind, Handle h, std::string detail);
  // The window an error or status text belongs to.
  Handle actingWindow() const;

  ObjectStore objects_;
  // The objects of each tag that is not empty, so that finding a control by
  // its tag does not walk the plotted objects (a 2D plot has one per point).
  std::map<std::string, std::vector<Handle>, std::less<>> tagged_;
  // The legend names of plotted objects, each kept once.
  std::set<std::string, std::less<>> displayNames_;
  std::string_view keptName(std::string_view name);
  // The plot styles in use, each kept once and parsed when first used.
  std::map<std::string, PlotStyle, std::less<>> lineStyles_;
  // The name and style kept last: a plot of one object per point asks for
  // the same ones a million times in a row.
  std::string_view lastName_;
  const std::pair<const std::string, PlotStyle>* lastStyle_ = nullptr;
  const std::pair<const std::string, PlotStyle>& keptStyle(std::string_view style);
  std::vector<Handle> figureOrder_;  // open windows, oldest first
  std::optional<Handle> currentFigure_;
  double nextHandle_ = 1000;  // the number of the next object that is not a window
  std::uint64_t nextSerial_ = 1;
  std::string lastMessage_;
  std::optional<ClipboardPicture> clipboard_;
  std::string textClipboard_;
  std::string lastError_;
  std::optional<Handle> callbackObject_;
  std::map<int, std::unique_ptr<const Listener>> listeners_;
  // Listeners that unsubscribed while changes were being told live on here
  // until the telling is done.
  std::vector<std::unique_ptr<const Listener>> retired_;
  int telling_ = 0;
  int nextListener_ = 1;
};

}  // namespace tarvolin

// A window's state, position and focused control kept in an INI file, per screen size.
#pragma once

#include <string>

namespace skribo {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int Width = 0, Height = 0;
};

// A form as the placement routines see it; the window's geometry is the system's placement
// record: the normal (restored) rectangle and the maximised position.
class TFormGeometry {
 public:
  virtual ~TFormGeometry() = default;
  virtual bool IsMaximized() const = 0;
  virtual TRect NormalRect() const = 0;
  virtual void SetNormalRect(const TRect& rect) = 0;
  virtual TPoint MaximizedPosition() const = 0;
  virtual void SetMaximizedPosition(const TPoint& position) = 0;
  // Restoring sets the rectangle and position first and the state last.
  virtual void SetMaximized(bool maximized) = 0;
  virtual TSize PrimaryScreenSize() const = 0;
  // The component name of the focused control, empty when none has the focus.
  virtual std::u16string ActiveControlName() const = 0;
  // Focuses the form's control of that name when it has one that can take the focus now.
  virtual void SetActiveControl(const std::u16string& name) = 0;
};

enum TPlacementAspect : unsigned {
  paState = 1 << 0,          // "WinState"
  paPosition = 1 << 1,       // "WinPos<w>x<h>" and "WinPos<w>x<h>Max"
  paActiveControl = 1 << 2,  // "ActiveControl"
};

// Writes the chosen keys into section of iniPath; other keys, other screen sizes' keys and other
// sections stay. Every failure is swallowed and leaves the file as it was.
void SaveWindowPlacement(const TFormGeometry* form, const std::u16string& iniPath,
                         const std::u16string& section, unsigned aspects);

// Applies the chosen keys to form; a missing file, section or key changes nothing of its part,
// and so does a position that is not four (two) integers separated by ";".
void RestoreWindowPlacement(TFormGeometry* form, const std::u16string& iniPath,
                            const std::u16string& section, unsigned aspects);

}  // namespace skribo

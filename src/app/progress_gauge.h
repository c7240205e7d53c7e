// The progress gauge: a small window with two text lines, a percentage bar
// and a Cancel button. This is its model; the view draws it.
#pragma once

#include <functional>
#include <string>

namespace rovanel::app {

class TPBar {
 public:
  struct Rect {
    int left, top, width, height;
  };

  int Margin = 10;
  int WinWidth = 300;
  int WinHeight = 100;
  int MinValue = 0;
  int MaxValue = 0;
  bool Result = false;    // cancelled
  bool ProgDisp = false;  // draw the bar, not only the texts
  bool CancelVisible = false;

  // Called whenever what the window shows changes.
  std::function<void()> Changed;

  void SetOnCancel(std::function<void()> handler) { onCancel_ = std::move(handler); }
  // The Cancel button was clicked.
  void CancelClick();

  void SetLigne1(const std::string& text);
  void SetLigne2(const std::string& text);
  const std::string& Ligne1() const { return ligne1_; }
  const std::string& Ligne2() const { return ligne2_; }

  void Show();
  void Hide();
  bool Visible() const { return visible_; }

  void SetPosition(int v);
  int Position() const { return position_; }
  // Percentage shown for the current position.
  int Percent() const;

  // Window layout, in client pixels.
  Rect Bevel() const;
  Rect Ligne1Rect() const;
  Rect Ligne2Rect() const;
  Rect CancelRect() const;
  // Size of the bar picture: the bevel less its 1-pixel frame.
  int BarWidth() const { return Bevel().width - 2; }
  int BarHeight() const { return Bevel().height - 2; }

 private:
  void Notify();

  std::string ligne1_, ligne2_;
  int position_ = 0;
  bool visible_ = false;
  std::function<void()> onCancel_;
};

}  // namespace rovanel::app

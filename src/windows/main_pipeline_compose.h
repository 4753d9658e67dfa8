// The main window's pipeline over the composition of the image library.
#pragma once

#include "document/compose.h"
#include "platform/control_view.h"
#include "platform/message_box.h"
#include "windows/main_pipeline.h"

namespace inkmark {

class ComposePipeline final : public MainPipeline {
 public:
  // Reads the colour lists and the preview widths from `view`; boxes are owned by `owner`.
  ComposePipeline(const ControlView& view, WindowHandle owner) : controls_(view), owner_(owner) {}

  void MakeSourcePreviews(LogoSession& session) override;
  void MakeConvertedPreview(LogoSession& session) override;
  int LoadLogoDocument(LogoSession& session) override;
  void ResetSecondColorItems(LogoSession& session) override;
  ItemState Item(const LogoSession& session, int index) const override;
  void SetItemText(LogoSession& session, int index, const std::string& text) override;
  Result<LogoRaster> BuildLogoRaster(LogoSession& session) override;

 private:
  class ViewControls final : public PreviewControls {
   public:
    explicit ViewControls(const ControlView& view) : view_(view) {}
    int ListSelection(int control) const override { return view_.Selection(control); }
    int ClientWidth(int control) const override { return view_.ClientWidth(control); }

   private:
    const ControlView& view_;
  };

  ViewControls controls_;
  WindowHandle owner_;
};

}  // namespace inkmark

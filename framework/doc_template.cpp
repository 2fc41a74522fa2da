#include "framework/doc_template.h"

#include "framework/frame_wnd.h"
#include "framework/view.h"
#include "framework/win_app.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resource_id,
                                       std::function<CDocument*()> new_document,
                                       std::function<CFrameWnd*()> new_frame,
                                       std::function<CView*()> new_view)
    : resource_id_(resource_id),
      new_document_(std::move(new_document)),
      new_frame_(std::move(new_frame)),
      new_view_(std::move(new_view)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

CFrameWnd* CSingleDocTemplate::OpenNewDocument(int show) {
  std::unique_ptr<CDocument> document(new_document_());
  if (document == nullptr || !document->OnNewDocument()) return nullptr;
  // The first substring of the template string is the window title.
  std::string strings = LoadResourceString(resource_id_);
  document->set_title(strings.substr(0, strings.find('\n')));

  CCreateContext context;
  context.document = document.get();
  context.new_view = new_view_;
  CFrameWnd* frame = new_frame_();
  // A frame that fails to load has deleted itself.
  if (!frame->LoadFrame(resource_id_, WS_OVERLAPPEDWINDOW, nullptr, &context)) return nullptr;
  document_ = std::move(document);
  frame->SetWindowText(document_->title());
  for (CView* view : std::vector<CView*>(document_->views())) view->OnInitialUpdate();
  ShowWindow(frame->GetSafeHwnd(), show);
  UpdateWindow(frame->GetSafeHwnd());
  return frame;
}

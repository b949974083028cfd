#include "platform/TaskScheduler.h"

#include <windows.h>

#include <taskschd.h>

#include <cstdio>

#include "platform/TextConversion.h"

namespace seltane {
namespace {

std::string HresultText(const char* step, HRESULT result) {
  char text[64];
  std::snprintf(text, sizeof text, " failed (HRESULT 0x%08lX)", static_cast<unsigned long>(result));
  std::string message(step);
  message += text;
  return message;
}

// COM for this thread and the root folder of a connected scheduler.
class RootFolder {
 public:
  RootFolder() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    uninitialize_ = SUCCEEDED(init);
    HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskService, reinterpret_cast<void**>(&service_));
    if (FAILED(result)) {
      failure_ = HresultText("Connecting to the task scheduler", result);
      return;
    }
    VARIANT empty;
    VariantInit(&empty);
    result = service_->Connect(empty, empty, empty, empty);
    if (SUCCEEDED(result)) {
      BSTR root = SysAllocString(L"\\");
      result = service_->GetFolder(root, &folder_);
      SysFreeString(root);
    }
    if (FAILED(result)) {
      failure_ = HresultText("Connecting to the task scheduler", result);
    }
  }
  ~RootFolder() {
    if (folder_)
      folder_->Release();
    if (service_)
      service_->Release();
    if (uninitialize_)
      CoUninitialize();
  }
  RootFolder(const RootFolder&) = delete;
  RootFolder& operator=(const RootFolder&) = delete;

  ITaskFolder* folder() const { return folder_; }
  const std::string& failure() const { return failure_; }

 private:
  bool uninitialize_ = false;
  ITaskService* service_ = nullptr;
  ITaskFolder* folder_ = nullptr;
  std::string failure_;
};

}  // namespace

std::string RegisterScheduledTask(const std::string& name, const std::string& xml) {
  RootFolder root;
  if (!root.folder())
    return root.failure();
  BSTR taskName = SysAllocString(WidenFromAnsi(name).c_str());
  BSTR definition = SysAllocString(WidenFromAnsi(xml).c_str());
  VARIANT empty;
  VariantInit(&empty);
  IRegisteredTask* task = nullptr;
  const HRESULT result =
      root.folder()->RegisterTask(taskName, definition, TASK_CREATE_OR_UPDATE, empty, empty,
                                  TASK_LOGON_INTERACTIVE_TOKEN, empty, &task);
  SysFreeString(definition);
  SysFreeString(taskName);
  if (task)
    task->Release();
  return FAILED(result) ? HresultText("Registering the task", result) : std::string();
}

std::string RemoveScheduledTask(const std::string& name) {
  RootFolder root;
  if (!root.folder())
    return root.failure();
  BSTR taskName = SysAllocString(WidenFromAnsi(name).c_str());
  const HRESULT result = root.folder()->DeleteTask(taskName, 0);
  SysFreeString(taskName);
  if (FAILED(result) && result != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) &&
      result != HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) {
    return HresultText("Removing the task", result);
  }
  return {};
}

std::string ScheduledTaskXml(const std::string& name) {
  RootFolder root;
  if (!root.folder())
    return {};
  BSTR taskName = SysAllocString(WidenFromAnsi(name).c_str());
  IRegisteredTask* task = nullptr;
  std::string text;
  if (SUCCEEDED(root.folder()->GetTask(taskName, &task)) && task) {
    BSTR xml = nullptr;
    if (SUCCEEDED(task->get_Xml(&xml)) && xml) {
      text = NarrowToAnsi(xml);
      SysFreeString(xml);
    }
    task->Release();
  }
  SysFreeString(taskName);
  return text;
}

}  // namespace seltane

#include "ui/shell_execute_errors.h"

#include <windows.h>
#include <shellapi.h>

namespace ui {

std::wstring ShellExecuteErrorText(int code)
{
    switch (code) {
    case 0: return L"操作系统内存或者资源不足.";
    case ERROR_FILE_NOT_FOUND: return L"找不到指定的文件.";
    case ERROR_PATH_NOT_FOUND: return L"找不到指定的路径.";
    case SE_ERR_ACCESSDENIED: return L"仅 Windows 95 : 操作系统拒绝访问指定的文件.";
    case SE_ERR_OOM: return L"仅 Windows 95 : 没有足够的内存来完成这个操作.";
    case ERROR_BAD_FORMAT: return L"该 .EXE 文件无效 (不是有效的 Win32 程序或者程序图像错误). ";
    case SE_ERR_SHARE: return L"发生了一个共享冲突.";
    case SE_ERR_ASSOCINCOMPLETE: return L"文件名关联不完整或者无效.";
    case SE_ERR_DDETIMEOUT: return L"DDE 执行事项不能被完成, 因为请求已经超时.";
    case SE_ERR_DDEFAIL: return L"DDE 事项已失败.";
    case SE_ERR_DDEBUSY: return L"DDE 事项不能完成, 因为其它 DDE 事项正在进程中.";
    case SE_ERR_NOASSOC: return L"没有应用程序和指定的文件扩展名相关联.";
    case SE_ERR_DLLNOTFOUND: return L"仅 Windows 95 : 指定的动态链接库没有找到.";
    default: return L"发生了一个 ShellExecute 错误.";
    }
}

}  // namespace ui

// No include guard: re-undefine after any later <windows.h>.
#undef DeleteFile
#undef CopyFile
#undef RemoveDirectory
#undef GetDriveType
#undef ReplaceFile
#undef FindAtom
#undef AddAtom
#undef DeleteAtom
#undef CreateDirectory
#undef GetFileAttributes
#undef SetFileAttributes
#undef MoveFile
#undef FindWindow
#undef OpenService
#undef CreateService

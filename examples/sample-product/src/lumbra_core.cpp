// The demo product's DLL: the text its programs show.
extern "C" __declspec(dllexport) const wchar_t* LumbraGreeting() {
  return L"Ez a Lumbra Demo mintaprogramja. A telep\u00edt\u0151 helyezte el a g\u00e9pen.";
}

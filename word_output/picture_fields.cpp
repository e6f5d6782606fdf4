// Replacing a placeholder field by a picture sized in millimetres: SetFieldImage.
#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {

using com::Variant;

HRESULT WordPrintOut::SetFieldImage(BSTR* StFildname, BSTR* StImageFilename, double* DoHeight,
                                    double* DoWidth, LONG* ret) {
  if (!ret) return E_POINTER;
  *ret = -1;
  if (!StFildname || !StImageFilename || !DoHeight || !DoWidth || !range_) return S_OK;
  const std::wstring field(*StFildname ? *StFildname : L"", SysStringLen(*StFildname));
  const std::wstring file(*StImageFilename ? *StImageFilename : L"",
                          SysStringLen(*StImageFilename));

  // The search narrows the insertion range to the field. Should a later step fail, the range
  // goes back to its extent before the call, or the next page would land inside this one.
  WordObject saved;
  if (FAILED(InsertionRange().Child(L"Duplicate", WordType::Range, &saved))) return S_OK;
  auto fail = [&] {
    range_ = saved.Get();
    return S_OK;
  };

  if (FAILED(SetFindReplace(field.c_str(), L"", false))) return fail();
  WordObject find;
  Variant found;
  if (FAILED(InsertionRange().Child(L"Find", WordType::Find, &find)) ||
      FAILED(find.CallNamed(L"Execute", {{L"FindText", Variant::Str(field)}}, found.Ptr())) ||
      FAILED(found.ChangeType(VT_BOOL))) {
    return fail();
  }
  // A field that is not there gets no picture: reporting success would hide the miss.
  if (V_BOOL(found.Ptr()) == VARIANT_FALSE) return fail();

  WordObject shapes, shape;
  Variant added;
  if (FAILED(InsertionRange().Child(L"InlineShapes", WordType::InlineShapes, &shapes)) ||
      FAILED(shapes.Call(L"AddPicture",
                         {Variant::Str(file), Variant::Bool(false), Variant::Bool(true),
                          Variant::Dispatch(range_.Get())},
                         added.Ptr())) ||
      added.Type() != VT_DISPATCH || !V_DISPATCH(added.Ptr())) {
    return fail();
  }
  shape = surface_.Wrap(V_DISPATCH(added.Ptr()), WordType::InlineShape);
  if (FAILED(shape.Put(L"Height", Variant::R8(*DoHeight * kPointsPerMillimetre))) ||
      FAILED(shape.Put(L"Width", Variant::R8(*DoWidth * kPointsPerMillimetre)))) {
    return fail();
  }
  shape = WordObject();

  WordObject content;
  if (FAILED(OutputDocument().Child(L"Content", WordType::Range, &content))) return fail();
  range_ = content.Get();
  *ret = 0;
  return S_OK;
}

}  // namespace quorrel

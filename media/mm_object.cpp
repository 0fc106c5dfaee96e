#include "media/mm_object.h"

namespace media {

void TMMObject::BeginUpdate() {
  if (update_count_ == 0) Changing();
  ++update_count_;
}

void TMMObject::EndUpdate() {
  if (update_count_ == 0) return;  // unbalanced call: nothing open
  if (--update_count_ == 0) Changed();
}

void TMMObject::Changed() {
  if (update_count_ == 0 && OnChange) OnChange(*this);
}

void TMMObject::Changing() {
  if (update_count_ == 0 && OnChanging) OnChanging(*this);
}

}  // namespace media

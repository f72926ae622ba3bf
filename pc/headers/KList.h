#ifndef KLIST_H
#define KLIST_H

#include "KObjectListable.h"

// An intrusive circular list whose head is itself a node (the sentinel): _lpListNext is the
// first element, _lpListPred the last; both point at the list when it is empty.
// The list links its elements but never owns or deletes them.
template <class T> class KList : public KObjectListable {
public:
  KList() : _nObjects(0) {
    _lpListNext = this;
    _lpListPred = this;
  }

  // Unlinks every element (leaving each with null links) without destroying any.
  virtual ~KList() {
    while (_lpListNext != nullptr && _lpListNext != this) unlink(_lpListNext);
    _lpListNext = nullptr;
    _lpListPred = nullptr;
  }

  // Links an element that is in no list after the last one.
  void addToTail(T *lpObj) {
    KObjectListable *last = _lpListPred;
    lpObj->_lpListPred = last;
    lpObj->_lpListNext = this;
    last->_lpListNext = lpObj;
    _lpListPred = lpObj;
    _nObjects++;
  }

  // Links an element that is in no list before the first one.
  void addToHead(T *lpObj) {
    KObjectListable *first = _lpListNext;
    lpObj->_lpListNext = first;
    lpObj->_lpListPred = this;
    first->_lpListPred = lpObj;
    _lpListNext = lpObj;
    _nObjects++;
  }

  // Unlinks an element of this list; its links become null.
  void remove(T *lpObj) { unlink(lpObj); }

  // First and next element, null past the end.
  T *getHead() const { return _lpListNext == this ? nullptr : static_cast<T *>(_lpListNext); }
  T *getNext(T *lpObj) const {
    KObjectListable *next = static_cast<KObjectListable *>(lpObj)->_lpListNext;
    return next == this ? nullptr : static_cast<T *>(next);
  }

  int getCount() const { return _nObjects; }

  int _nObjects;

private:
  void unlink(KObjectListable *node) {
    node->_lpListPred->_lpListNext = node->_lpListNext;
    node->_lpListNext->_lpListPred = node->_lpListPred;
    node->_lpListNext = nullptr;
    node->_lpListPred = nullptr;
    _nObjects--;
  }
};

#endif

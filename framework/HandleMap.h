#pragma once
#include <memory>
#include <unordered_map>
#include <utility>

// Finds the C++ object behind a system handle. Permanent entries belong to
// objects that attached the handle themselves; temporary ones wrap handles
// that nobody owns here and are deleted by DeleteTemporary() (called when the
// message loop goes idle), after taking the handle out of them so their
// destructors release nothing. One map per thread, as handles belong to the
// thread that made them.
template <class THandle, class TObject, THandle TObject::*pHandle> class HandleMap
{
public:
    TObject* LookupPermanent(THandle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    void SetPermanent(THandle h, TObject* pObject) { m_permanent[h] = pObject; }

    void RemovePermanent(THandle h, const TObject* pObject)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    // The permanent object, else a temporary one made by makeObject().
    template <class TFactory> TObject* FromHandle(THandle h, TFactory makeObject)
    {
        if (h == nullptr)
            return nullptr;
        if (TObject* pObject = LookupPermanent(h))
            return pObject;
        auto& slot = m_temporary[h];
        if (!slot)
        {
            slot = makeObject();
            (*slot).*pHandle = h;
        }
        return slot.get();
    }

    TObject* FromHandle(THandle h)
    {
        return FromHandle(h, [] { return std::make_unique<TObject>(); });
    }

    void DeleteTemporary()
    {
        auto temporary = std::move(m_temporary);
        m_temporary.clear();
        for (auto& entry : temporary)
            (*entry.second).*pHandle = nullptr;
    }

    template <class TPredicate> TObject* FindPermanent(TPredicate matches) const
    {
        for (const auto& entry : m_permanent)
            if (matches(*entry.second))
                return entry.second;
        return nullptr;
    }

private:
    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, std::unique_ptr<TObject>> m_temporary;
};

// PLACEHOLDER: replaced by the owner of this file.

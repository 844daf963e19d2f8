# Sourced by the printing tests: a real print system with a "PDF" queue.
# Starts the CUPS scheduler when none runs and adds the queue when it is
# missing; stop_pdf_printer undoes only what start_pdf_printer did.

PDF_STARTED_CUPSD=""
PDF_ADDED_QUEUE=""

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

start_pdf_printer() {
  if ! scheduler_running; then
    /usr/sbin/cupsd -f >/dev/null 2>&1 </dev/null &
    PDF_STARTED_CUPSD=$!
    for _ in $(seq 1 50); do scheduler_running && break; sleep 0.2; done
    scheduler_running || { echo "cupsd did not start" >&2; return 1; }
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd || return 1
    PDF_ADDED_QUEUE=1
  fi
  lpadmin -d PDF
}

stop_pdf_printer() {
  if [ -n "$PDF_ADDED_QUEUE" ]; then
    lpadmin -x PDF 2>/dev/null || true
    PDF_ADDED_QUEUE=""
  fi
  if [ -n "$PDF_STARTED_CUPSD" ]; then
    kill "$PDF_STARTED_CUPSD" 2>/dev/null || true
    wait "$PDF_STARTED_CUPSD" 2>/dev/null || true
    PDF_STARTED_CUPSD=""
  fi
}

# Folder cups-pdf writes to for the current user (its "Out" setting).
pdf_output_folder() {
  local out home
  out="$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -1)"
  home="$(getent passwd "$(id -un)" | cut -d: -f6)"
  [ -n "$out" ] || out='${HOME}/PDF'
  printf '%s\n' "$out" | sed "s|\${HOME}|$home|g"
}

# Waits until the print queue is empty (the PDF may exist before it is complete).
wait_for_queue_empty() {
  for _ in $(seq 1 150); do
    [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  return 1
}
